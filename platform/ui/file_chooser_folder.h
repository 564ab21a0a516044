// What the built-in file chooser knows of folders and names: what it lists
// and what Enter does with a typed name. Internal to platform/ui.
#pragma once

#include <string>
#include <vector>

namespace klv::ui {

struct FolderEntry {
    std::string name;
    bool folder = false;
    friend bool operator==(const FolderEntry&, const FolderEntry&) = default;
};

// What the chooser lists in `folder`: ".." (below the root), the folders,
// then the files that match one of the patterns ("*.BMP;*.PNG": any case;
// "*" or "*.*": every file), each group in name order; names starting with a
// dot are left out. Only ".." when the folder cannot be read.
std::vector<FolderEntry> chooser_entries(const std::string& folder, const std::string& patterns);

// What Enter does with a typed name, taken relative to `folder` ("~/" is the
// home folder).
struct TypedName {
    enum class Kind {
        empty,            // nothing typed: refused
        open_folder,      // a folder: the chooser shows it
        missing_folder,   // the folder it would be saved in does not exist: refused
        not_a_file,       // something that is neither a folder nor a plain file: refused
        write_protected,  // an existing file that cannot be written: refused
        exists,           // an existing file: asked before it is replaced
        new_file,         // saved under this name
    };
    Kind kind = Kind::empty;
    std::string path;  // the folder to show, or the file's full path
};
TypedName judge_typed_name(const std::string& folder, const std::string& typed);

}  // namespace klv::ui
