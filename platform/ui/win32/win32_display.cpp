// Real USER32 windows behind the library's window records.
//
// The library's window class is registered with USER32 under its own name,
// and each window record gets a real window of that class on the thread
// that creates it. The thread's message loop pumps the real queue: real
// messages are translated (TranslateMessage makes the characters) and
// dispatched to the procedure below, which hands input, close requests,
// hit tests and system commands to the library's window procedure at once,
// on the same thread; what that procedure leaves to the default goes back
// to DefWindowProcA. The window shows what the library presented, copied
// with SetDIBitsToDevice in WM_PAINT.
#include "platform/ui/win32/win32_display.h"

#include <mutex>
#include <set>
#include <string>

#include "platform/ui/thread_queue.h"
#include "platform/ui/window_internal.h"
#include "platform/ui/window_record.h"

// USER32 and GDI last: their macros must not meet our own names above.
#include <windows.h>

namespace klv::ui {

namespace {

Window* record_of(HWND hwnd) { return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

// What the library presented, for the part of the window USER32 asks for.
void paint_presented(HWND hwnd, Window& window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    {
        std::lock_guard lock(window.mutex);
        const int width = window.geometry.client_width;
        const int height = window.geometry.client_height;
        if (dc && width > 0 && height > 0 && window.presented.size() == std::size_t(width) * std::size_t(height)) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = width;
            info.bmiHeader.biHeight = -height;  // rows top first, as the image keeps them
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            // The paint context clips to the invalid area.
            SetDIBitsToDevice(dc, 0, 0, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), window.presented.data(),
                              &info, DIB_RGB_COLORS);
        }
    }
    EndPaint(hwnd, &paint);
}

// Messages whose meaning is the library's: they reach its procedure as
// they come, and what it passes on reaches DefWindowProcA again.
bool handed_to_library(UINT message) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
        case WM_CLOSE:
        case WM_SYSCOMMAND:
        case WM_NCHITTEST: return true;
        default: return message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK;
    }
}

LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Window* window = record_of(hwnd);
    // Until the record has its native window, and once it is being
    // destroyed, USER32 alone looks after the window.
    if (!window || !window->native || window->destroyed) return DefWindowProcA(hwnd, message, wparam, lparam);
    if (message == WM_PAINT) {
        paint_presented(hwnd, *window);
        return 0;
    }
    if (handed_to_library(message)) return call_procedure(window, message, wparam, lparam);
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

// The real class of a library class: same name, style and background; one
// procedure for all. Registered once per name.
bool register_real_class(const WindowClass& window_class) {
    static std::mutex mutex;
    static auto* registered = new std::set<std::string>;
    std::lock_guard lock(mutex);
    if (registered->count(window_class.name)) return true;
    WNDCLASSEXA real{};
    real.cbSize = sizeof real;
    real.style = window_class.style;
    real.lpfnWndProc = window_procedure;
    real.hInstance = GetModuleHandleA(nullptr);
    real.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    real.hbrBackground =
        window_class.background_brush >= 0 ? static_cast<HBRUSH>(GetStockObject(window_class.background_brush)) : nullptr;
    real.lpszClassName = window_class.name.c_str();
    if (!RegisterClassExA(&real) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered->insert(window_class.name);
    return true;
}

class Win32Window final : public NativeWindow {
public:
    explicit Win32Window(HWND hwnd) : hwnd_(hwnd) {}
    ~Win32Window() override {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    HWND handle() const { return hwnd_; }

    void show(bool visible) override { ShowWindow(hwnd_, visible ? SW_SHOWNORMAL : SW_HIDE); }
    void present(const gdi::Bitmap&, const gdi::Rect& rect) override {
        RECT area{rect.left, rect.top, rect.right, rect.bottom};
        InvalidateRect(hwnd_, &area, FALSE);
        UpdateWindow(hwnd_);
    }
    bool start_move() override { return false; }  // DefWindowProcA drags the window itself
    void keyboard_move() override { PostMessageA(hwnd_, WM_SYSCOMMAND, SC_MOVE, 0); }
    void minimize() override { ShowWindow(hwnd_, SW_MINIMIZE); }
    void restore() override { ShowWindow(hwnd_, SW_RESTORE); }
    void open_system_menu() override { PostMessageA(hwnd_, WM_SYSCOMMAND, SC_KEYMENU, ' '); }
    void set_title(const std::string& title) override { SetWindowTextA(hwnd_, title.c_str()); }
    void append_menu_entry(std::uint32_t flags, std::uint32_t id, const char* text) override {
        AppendMenuA(GetSystemMenu(hwnd_, FALSE), flags, id, text);
    }
    // Painting and erasing are the library's, on its own screen image; a
    // close request the library passes on, a new title (the record keeps
    // it, then set_title) and the creation and destruction of its records
    // never reach USER32's defaults.
    std::optional<std::intptr_t> system_default(std::uint32_t message, std::uintptr_t wparam,
                                                std::intptr_t lparam) override {
        switch (message) {
            case WM_PAINT:
            case WM_ERASEBKGND:
            case WM_CLOSE:
            case WM_SETTEXT:
            case WM_CREATE:
            case WM_DESTROY: return std::nullopt;
            default: return DefWindowProcA(hwnd_, message, wparam, lparam);
        }
    }

private:
    HWND hwnd_;
};

class Win32Display final : public ThreadDisplay {
public:
    int wait_descriptor() const override { return -1; }  // the wake-up waits on the real queue too

    bool pump(ThreadQueue&) override {
        bool any = false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return any;
    }

    std::unique_ptr<NativeWindow> create(Window& window) override {
        if (!register_real_class(window.window_class)) {
            set_last_error(GetLastError());
            return nullptr;
        }
        // The frame this Windows draws may be wider than the classic one the
        // outer size was worked out with: the client area keeps the size of
        // the pages all the same.
        const DWORD style = window.style & ~WS_VISIBLE;
        RECT frame{0, 0, window.geometry.client_width, window.geometry.client_height};
        AdjustWindowRectEx(&frame, style, FALSE, 0);
        const gdi::Rect& outer = window.geometry.outer;
        HWND hwnd = CreateWindowExA(0, window.window_class.name.c_str(), window.title.c_str(), style, outer.left,
                                    outer.top, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), &window);
        if (!hwnd) {
            set_last_error(GetLastError());
            return nullptr;
        }
        return std::make_unique<Win32Window>(hwnd);
    }

    bool is_headless() const override { return false; }
};

}  // namespace

std::unique_ptr<ThreadDisplay> open_win32_display() { return std::make_unique<Win32Display>(); }

HWND owner_handle(Window* window) {
    if (!window || window->owner.get() != existing_queue()) return nullptr;
    const auto* real = dynamic_cast<const Win32Window*>(window->native.get());
    return real ? real->handle() : nullptr;
}

}  // namespace klv::ui
