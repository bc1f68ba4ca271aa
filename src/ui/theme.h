#pragma once

#include "ui/cell.h"

namespace tavoe {

namespace ui {

// The palette indexes the widgets draw with. The defaults suit the default palette (0 black,
// 2 light grey, 3 white, 8 dark blue, 1 dark grey); a program may change any of them.
struct Theme {
    ColorPair desktop{0, 1};
    ColorPair dialog{0, 2};
    ColorPair title{3, 8};
    ColorPair input{0, 3};
    ColorPair inputMarked{3, 8};
    ColorPair list{0, 3};
    ColorPair listSelected{3, 8};
    ColorPair button{0, 2};
    ColorPair buttonFocused{3, 8};
    ColorPair menu{0, 2};
    ColorPair menuSelected{3, 8};
    ColorPair disabled{1, 2};
    ColorPair progress{8, 2};
};

}  // namespace ui

}  // namespace tavoe
