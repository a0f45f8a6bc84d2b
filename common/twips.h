#pragma once

// The screens are laid out in twips, as on the paper form; 15 twips make one
// logical pixel, which Qt scales on high-density screens.
constexpr int px(int twips)
{
    return twips / 15;
}
