// The page's side of a window (klv_web.js): each call runs on the page's
// own thread, the caller waiting for it. Internal to platform/ui/web.
#pragma once

extern "C" {
// A frame of ours in the page holding the window's canvas (width by height
// pixels, shown at `scale`), at (left, top) of the page's desktop; a dialog
// is a window of the one before it.
void klv_web_open(int number, int dialog, int left, int top, int width, int height, int scale, const char* title);
void klv_web_show(int number, int visible);
void klv_web_title(int number, const char* title);  // UTF-8
void klv_web_size(int number, int width, int height, int scale);
void klv_web_remove(int number);
// The system menu's popup at (x, y) of the window's client area (screen
// pixels): its picture, its entries' texts a line each, the entry
// selected; and its end.
void klv_web_menu_show(int number, int x, int y, int width, int height, const unsigned char* rgba, const char* lines,
                       int selected);
void klv_web_menu_hide(int number);
// The browser downloads the program's file at `path` under its own name.
void klv_web_download(const char* path);
// devicePixelRatio rounded down, 1 to 3.
int klv_web_device_scale();
// The page's desktop area in CSS pixels: 0 width, 1 height.
int klv_web_desktop_size(int which);
}
