#include "platform/ui/file_chooser.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/ui/dialog_window.h"
#include "platform/ui/file_chooser_folder.h"
#include "platform/ui/message_dialog.h"

namespace klv::ui {

namespace {

// The layout, in units of the unscaled dialog.
constexpr int client_width = 480;
constexpr int client_height = 352;
constexpr gdi::Rect list_box{10, 32, 470, 250};
constexpr gdi::Rect name_box{90, 260, 470, 284};
constexpr gdi::Rect save_button{310, 318, 385, 341};
constexpr gdi::Rect cancel_button{395, 318, 470, 341};

bool inside(const gdi::Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The request's filters as the chooser uses them: every pattern, and every
// name ("Bitmap files (*.bmp), PNG files (*.png)").
std::string all_patterns(const SaveFileRequest& request) {
    std::string patterns = request.filter_pattern;
    for (const auto& filter : request.more_filters) patterns += ";" + filter.second;
    return patterns;
}

std::string all_names(const SaveFileRequest& request) {
    std::string names = request.filter_name;
    for (const auto& filter : request.more_filters) names += ", " + filter.first;
    return names;
}

class ChooserContent final : public DialogContent {
public:
    explicit ChooserContent(const SaveFileRequest& request)
        : patterns_(all_patterns(request)), types_(all_names(request)) {
        std::error_code error;
        show_folder(std::filesystem::current_path(error).string());
    }

    const std::optional<std::string>& chosen() const { return chosen_; }

    gdi::Size client_size(const DialogLook& look) override { return {look.px(client_width), look.px(client_height)}; }

    void paint(gdi::DeviceContext* dc, const DialogLook& look) override {
        look.fill(dc, {0, 0, look.px(client_width), look.px(client_height)}, dialog_colours::face);
        const int label_y = (look.px(24) - look.line_height()) / 2;
        look.text(dc, look.px(10), look.px(8), "Save in:", dialog_colours::text);
        look.text(dc, look.px(90), look.px(8), look.fitted_tail(folder_, look.px(380)), dialog_colours::text);
        paint_list(dc, look);
        look.text(dc, look.px(10), look.px(name_box.top) + label_y, "File name:", dialog_colours::text);
        paint_name(dc, look);
        look.text(dc, look.px(10), look.px(294), "Save as type:", dialog_colours::text);
        look.text(dc, look.px(90), look.px(294), look.fitted_tail(types_, look.px(380)), dialog_colours::text);
        look.text(dc, look.px(10), look.px(save_button.top) + label_y / 2, problem_, dialog_colours::error_text);
        look.button(dc, scaled(save_button), "Save", true);
        look.button(dc, scaled(cancel_button), "Cancel", false);
    }

    void key_down(std::uint32_t key) override {
        switch (key) {
            case VK_RETURN: accept(); break;
            case VK_ESCAPE: finish(); break;
            case VK_BACK: edit(caret_ > 0 ? caret_ - 1 : caret_, caret_); break;
            case VK_DELETE: edit(caret_, std::min(caret_ + 1, name_.size())); break;
            case VK_LEFT: move_caret(caret_ > 0 ? caret_ - 1 : 0); break;
            case VK_RIGHT: move_caret(std::min(caret_ + 1, name_.size())); break;
            case VK_HOME: move_caret(0); break;
            case VK_END: move_caret(name_.size()); break;
            case VK_UP: pick(std::max(selected_ - 1, 0)); break;
            case VK_DOWN: pick(std::min(selected_ + 1, int(entries_.size()) - 1)); break;
            default: break;
        }
    }

    void character(std::uint8_t byte) override {
        name_.insert(caret_, 1, char(byte));
        ++caret_;
        problem_.clear();
        redraw();
    }

    void mouse(std::uint32_t message, int x, int y) override {
        const int ux = x / look().scale(), uy = y / look().scale();
        if (message == WM_LBUTTONUP) {
            if (inside(save_button, ux, uy)) accept();
            if (inside(cancel_button, ux, uy)) finish();
            return;
        }
        if (!inside(list_box, ux, uy)) return;
        const int row = first_row_ + (y - look().px(list_box.top + 2)) / row_height();
        if (row < 0 || row >= int(entries_.size())) return;
        pick(row);
        if (message == WM_LBUTTONDBLCLK) accept();
    }

private:
    int row_height() const { return look().line_height() + look().px(4); }
    int visible_rows() const { return (look().px(list_box.bottom - list_box.top) - look().px(4)) / row_height(); }
    gdi::Rect scaled(const gdi::Rect& r) const {
        return {look().px(r.left), look().px(r.top), look().px(r.right), look().px(r.bottom)};
    }

    void paint_list(gdi::DeviceContext* dc, const DialogLook& look) {
        const gdi::Rect box = scaled(list_box);
        look.fill(dc, box, dialog_colours::window);
        look.outline(dc, box, dialog_colours::border);
        const int rows = visible_rows();
        for (int i = first_row_; i < int(entries_.size()) && i < first_row_ + rows; ++i) {
            const int top = box.top + look.px(2) + (i - first_row_) * row_height();
            if (i == selected_) {
                look.fill(dc, {box.left + look.px(2), top, box.right - look.px(2), top + row_height()},
                          dialog_colours::selection);
            }
            const FolderEntry& entry = entries_[std::size_t(i)];
            const std::string shown = entry.folder && entry.name != ".." ? entry.name + "/" : entry.name;
            look.text(dc, box.left + look.px(6), top + look.px(2), shown, dialog_colours::text);
        }
    }

    // The name, moved left when it is too long for the field so that the caret stays in sight.
    void paint_name(gdi::DeviceContext* dc, const DialogLook& look) {
        const gdi::Rect box = scaled(name_box);
        look.fill(dc, box, dialog_colours::window);
        look.outline(dc, box, dialog_colours::focus);
        const int room = box.right - box.left - look.px(8);
        const int caret_x = look.text_width(name_.substr(0, caret_));
        const int shift = std::max(0, caret_x - room);
        gdi::Region* clip = gdi::create_rect_region(box.left + look.px(2), box.top, box.right - look.px(2), box.bottom);
        gdi::select_clip_region(dc, clip);
        const int text_y = box.top + (box.bottom - box.top - look.line_height()) / 2;
        look.text(dc, box.left + look.px(4) - shift, text_y, name_, dialog_colours::text);
        const int x = box.left + look.px(4) - shift + caret_x;
        look.fill(dc, {x, text_y, x + look.scale(), text_y + look.line_height()}, dialog_colours::text);
        gdi::select_clip_region(dc, nullptr);
        gdi::delete_object(clip);
    }

    void show_folder(const std::string& folder) {
        folder_ = folder;
        entries_ = chooser_entries(folder_, patterns_);
        selected_ = -1;
        first_row_ = 0;
        set_name("");
    }

    void set_name(const std::string& name) {
        name_ = name;
        caret_ = name_.size();
        problem_.clear();
        redraw();
    }

    void edit(std::size_t from, std::size_t to) {
        name_.erase(from, to - from);
        move_caret(from);
    }

    void move_caret(std::size_t at) {
        caret_ = at;
        problem_.clear();
        redraw();
    }

    void pick(int index) {
        if (index < 0 || index >= int(entries_.size())) return;
        selected_ = index;
        if (selected_ < first_row_) first_row_ = selected_;
        if (selected_ >= first_row_ + visible_rows()) first_row_ = selected_ - visible_rows() + 1;
        const FolderEntry& entry = entries_[std::size_t(index)];
        set_name(entry.folder ? entry.name + "/" : entry.name);
    }

    void refuse(const std::string& why) {
        problem_ = why;
        redraw();
    }

    void accept() {
        const TypedName typed = judge_typed_name(folder_, name_);
        switch (typed.kind) {
            case TypedName::Kind::empty: refuse("Type a file name."); break;
            case TypedName::Kind::open_folder: show_folder(typed.path); break;
            case TypedName::Kind::missing_folder: refuse("The folder " + typed.path + " does not exist."); break;
            case TypedName::Kind::not_a_file: refuse(typed.path + " is not a file."); break;
            case TypedName::Kind::write_protected: refuse(typed.path + " is write-protected."); break;
            case TypedName::Kind::exists:
                if (show_message_dialog(window(), typed.path + " already exists.\nDo you want to replace it?",
                                        "Confirm Save As", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
                    break;
                }
                [[fallthrough]];
            case TypedName::Kind::new_file:
                chosen_ = typed.path;
                finish();
                break;
        }
    }

    const std::string patterns_;
    const std::string types_;
    std::string folder_;
    std::vector<FolderEntry> entries_;
    int selected_ = -1;
    int first_row_ = 0;
    std::string name_;
    std::size_t caret_ = 0;
    std::string problem_;
    std::optional<std::string> chosen_;
};

}  // namespace

std::optional<std::string> run_file_chooser(const SaveFileRequest& request) {
    ChooserContent content(request);
    if (run_dialog(request.owner, request.title.empty() ? "Save As" : request.title, content) != DialogEnd::finished)
        return std::nullopt;
    return content.chosen();
}

}  // namespace klv::ui
