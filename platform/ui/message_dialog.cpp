#include "platform/ui/message_dialog.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/ui/dialog_window.h"

namespace klv::ui {

namespace {

struct Button {
    std::string label;
    int answer = IDOK;
};

std::vector<Button> buttons_for(std::uint32_t style) {
    switch (style & MB_TYPEMASK) {
        case MB_OKCANCEL: return {{"OK", IDOK}, {"Cancel", IDCANCEL}};
        case MB_YESNO: return {{"Yes", IDYES}, {"No", IDNO}};
        default: return {{"OK", IDOK}};
    }
}

// The longest start of `word` that fits; at least one character.
std::size_t fitting_start(const DialogLook& look, const std::string& word, int width) {
    std::size_t n = word.size();
    while (n > 1 && look.text_width(word.substr(0, n)) > width) --n;
    return n;
}

void wrap_one(const DialogLook& look, const std::string& paragraph, int width, std::vector<std::string>& lines) {
    std::istringstream words(paragraph);
    std::string line;
    for (std::string word; words >> word;) {
        std::string longer = line.empty() ? word : line + " " + word;
        if (look.text_width(longer) <= width) {
            line = longer;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        while (look.text_width(word) > width) {
            const std::size_t n = fitting_start(look, word, width);
            lines.push_back(word.substr(0, n));
            word.erase(0, n);
        }
        line = word;
    }
    lines.push_back(line);
}

class MessageContent final : public DialogContent {
public:
    MessageContent(const std::string& text, std::uint32_t style)
        : text_(text), buttons_(buttons_for(style)), focused_((style & MB_DEFBUTTON2) && buttons_.size() > 1 ? 1 : 0) {}

    int answer() const { return answer_; }

    gdi::Size client_size(const DialogLook& look) override {
        lines_ = wrapped_lines(look, text_, look.px(420));
        int widest = 0;
        for (const auto& line : lines_) widest = std::max(widest, look.text_width(line));
        const int row = int(buttons_.size()) * look.px(85) + look.px(11);
        const int width = std::max({widest + 2 * look.px(14), row + look.px(11), look.px(220)});
        const int text_height = int(lines_.size()) * look.line_height() + 2 * look.px(20);
        size_ = {width, text_height + look.px(42)};
        return size_;
    }

    void paint(gdi::DeviceContext* dc, const DialogLook& look) override {
        const gdi::Size size = size_;
        const int strip = size.cy - look.px(42);
        look.fill(dc, {0, 0, size.cx, strip}, dialog_colours::window);
        look.fill(dc, {0, strip, size.cx, size.cy}, dialog_colours::face);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            look.text(dc, look.px(14), look.px(20) + int(i) * look.line_height(), lines_[i], dialog_colours::text);
        }
        for (std::size_t i = 0; i < buttons_.size(); ++i) {
            look.button(dc, button_rect(look, i), buttons_[i].label, int(i) == focused_);
        }
    }

    void key_down(std::uint32_t key) override {
        const int count = int(buttons_.size());
        switch (key) {
            case VK_RETURN:
            case VK_SPACE: choose(focused_); break;
            case VK_ESCAPE: choose(count - 1); break;
            case VK_TAB:
            case VK_RIGHT:
            case VK_DOWN: focus((focused_ + 1) % count); break;
            case VK_LEFT:
            case VK_UP: focus((focused_ + count - 1) % count); break;
            default:
                for (int i = 0; i < count; ++i) {
                    if (std::uint32_t(buttons_[std::size_t(i)].label[0]) == key) choose(i);
                }
        }
    }

    void mouse(std::uint32_t message, int x, int y) override {
        const int at = button_at(x, y);
        if (message == WM_LBUTTONDOWN) pressed_ = at;
        if (message == WM_LBUTTONUP && at >= 0 && at == pressed_) choose(at);
    }

    void close_request() override { choose(int(buttons_.size()) - 1); }

private:
    gdi::Rect button_rect(const DialogLook& look, std::size_t i) const {
        const int right = size_.cx - look.px(11) - int(buttons_.size() - 1 - i) * look.px(85);
        const int top = size_.cy - look.px(42) + look.px(10);
        return {right - look.px(75), top, right, top + look.px(23)};
    }

    int button_at(int x, int y) const {
        for (std::size_t i = 0; i < buttons_.size(); ++i) {
            const gdi::Rect r = button_rect(look(), i);
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return int(i);
        }
        return -1;
    }

    void focus(int index) {
        focused_ = index;
        redraw();
    }

    void choose(int index) {
        answer_ = buttons_[std::size_t(index)].answer;
        finish();
    }

    std::string text_;
    std::vector<Button> buttons_;
    std::vector<std::string> lines_;
    gdi::Size size_{};
    int focused_ = 0;
    int pressed_ = -1;
    int answer_ = 0;
};

}  // namespace

std::vector<std::string> wrapped_lines(const DialogLook& look, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string paragraph; std::getline(in, paragraph);) wrap_one(look, paragraph, width, lines);
    if (lines.empty()) lines.emplace_back();
    return lines;
}

int show_message_dialog(Window* owner, const std::string& text, const std::string& caption, std::uint32_t style) {
    MessageContent content(text, style);
    switch (run_dialog(owner, caption, content)) {
        case DialogEnd::no_window: return 0;
        case DialogEnd::quit: content.close_request(); break;
        case DialogEnd::finished: break;
    }
    return content.answer();
}

}  // namespace klv::ui
