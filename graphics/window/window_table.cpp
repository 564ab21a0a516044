#include "graphics/window/window_state.h"

namespace klv {

// Never destroyed: threads of windows still open when the program ends run
// on until the process ends with them.
WindowTable& window_table() {
    static WindowTable* table = new WindowTable;
    return *table;
}

}  // namespace klv
