// Message numbers, virtual keys, hit-test codes, styles and metrics, with the
// numbers Win32 gives them: queues and dispatch depend on the numbers (a mouse
// kind is a message number minus WM_MOUSEMOVE, a packed position an lparam).
#pragma once

#include <cstdint>

namespace klv::ui {

// Messages.
constexpr std::uint32_t WM_NULL = 0x0000;
constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_SETTEXT = 0x000C;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
constexpr std::uint32_t WM_NCHITTEST = 0x0084;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
constexpr std::uint32_t WM_SYSCHAR = 0x0106;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
// Ours: the default procedure shows the window at scale wparam (1 to 8);
// set_window_scale sends it, so that the window's own thread resizes it.
constexpr std::uint32_t WM_SETSCALE = 0x8F01;

// Mouse key flags in wparam.
constexpr std::uint32_t MK_LBUTTON = 0x0001;
constexpr std::uint32_t MK_RBUTTON = 0x0002;
constexpr std::uint32_t MK_SHIFT = 0x0004;
constexpr std::uint32_t MK_CONTROL = 0x0008;
constexpr std::uint32_t MK_MBUTTON = 0x0010;

// System commands of the system's own menu entries.
constexpr std::uint32_t SC_MOVE = 0xF010;
constexpr std::uint32_t SC_MINIMIZE = 0xF020;
constexpr std::uint32_t SC_CLOSE = 0xF060;
constexpr std::uint32_t SC_RESTORE = 0xF120;

// Hit-test answers.
constexpr std::intptr_t HTNOWHERE = 0;
constexpr std::intptr_t HTCLIENT = 1;
constexpr std::intptr_t HTCAPTION = 2;
constexpr std::intptr_t HTSYSMENU = 3;
constexpr std::intptr_t HTBORDER = 18;

// Virtual keys.
constexpr std::uint32_t VK_BACK = 0x08;
constexpr std::uint32_t VK_TAB = 0x09;
constexpr std::uint32_t VK_CLEAR = 0x0C;
constexpr std::uint32_t VK_RETURN = 0x0D;
constexpr std::uint32_t VK_SHIFT = 0x10;
constexpr std::uint32_t VK_CONTROL = 0x11;
constexpr std::uint32_t VK_MENU = 0x12;  // Alt
constexpr std::uint32_t VK_PAUSE = 0x13;
constexpr std::uint32_t VK_CAPITAL = 0x14;
constexpr std::uint32_t VK_ESCAPE = 0x1B;
constexpr std::uint32_t VK_SPACE = 0x20;
constexpr std::uint32_t VK_PRIOR = 0x21;
constexpr std::uint32_t VK_NEXT = 0x22;
constexpr std::uint32_t VK_END = 0x23;
constexpr std::uint32_t VK_HOME = 0x24;
constexpr std::uint32_t VK_LEFT = 0x25;
constexpr std::uint32_t VK_UP = 0x26;
constexpr std::uint32_t VK_RIGHT = 0x27;
constexpr std::uint32_t VK_DOWN = 0x28;
constexpr std::uint32_t VK_INSERT = 0x2D;
constexpr std::uint32_t VK_DELETE = 0x2E;
constexpr std::uint32_t VK_APPS = 0x5D;  // the Menu key
constexpr std::uint32_t VK_NUMPAD0 = 0x60;
constexpr std::uint32_t VK_PROCESSKEY = 0xE5;  // a key that only types a character
constexpr std::uint32_t VK_F1 = 0x70;
constexpr std::uint32_t VK_F2 = 0x71;
constexpr std::uint32_t VK_F3 = 0x72;
constexpr std::uint32_t VK_F4 = 0x73;
constexpr std::uint32_t VK_F5 = 0x74;
constexpr std::uint32_t VK_F6 = 0x75;
constexpr std::uint32_t VK_F7 = 0x76;
constexpr std::uint32_t VK_F8 = 0x77;
constexpr std::uint32_t VK_F9 = 0x78;
constexpr std::uint32_t VK_F10 = 0x79;
constexpr std::uint32_t VK_F11 = 0x7A;
constexpr std::uint32_t VK_F12 = 0x7B;

// Class styles.
constexpr std::uint32_t CS_DBLCLKS = 0x0008;
constexpr std::uint32_t CS_SAVEBITS = 0x0800;

// Window styles.
constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
constexpr std::uint32_t WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr std::uint32_t DS_MODALFRAME = 0x00000080;  // a dialog of its owner: kept above it, at scale 1

// Show commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;

// Menu entry flags.
constexpr std::uint32_t MF_STRING = 0x0000;
constexpr std::uint32_t MF_SEPARATOR = 0x0800;

// Message box styles and answers.
constexpr std::uint32_t MB_OK = 0x00;
constexpr std::uint32_t MB_OKCANCEL = 0x01;
constexpr std::uint32_t MB_YESNO = 0x04;
constexpr std::uint32_t MB_TYPEMASK = 0x0F;
constexpr std::uint32_t MB_ICONERROR = 0x10;
constexpr std::uint32_t MB_ICONWARNING = 0x30;
constexpr std::uint32_t MB_DEFBUTTON2 = 0x100;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// System metrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;

// Error codes that last_error() reports.
constexpr std::uint32_t ERROR_SUCCESS = 0;
constexpr std::uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr std::uint32_t ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr std::uint32_t ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr std::uint32_t ERROR_NO_DISPLAY = 0x20000001;  // ours: no display could be opened

// Packing of positions in lparam: x low 16 bits, y high 16 bits, both signed.
constexpr std::intptr_t make_lparam(int low, int high) {
    return std::intptr_t(std::uint32_t(std::uint16_t(low)) | (std::uint32_t(std::uint16_t(high)) << 16));
}
constexpr int lparam_x(std::intptr_t lparam) { return std::int16_t(std::uint16_t(lparam & 0xFFFF)); }
constexpr int lparam_y(std::intptr_t lparam) { return std::int16_t(std::uint16_t((lparam >> 16) & 0xFFFF)); }

}  // namespace klv::ui
