#include "graphics/window/window_state.h"

namespace klv {

WindowTable& window_table() {
    static WindowTable table;
    return table;
}

}  // namespace klv
