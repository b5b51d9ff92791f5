#pragma once

namespace vantorel {

// The program's marking colours, GUI-free so that the colour rules stay testable.
struct Rgb {
    int red;
    int green;
    int blue;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBuyPink{254, 194, 210};
inline constexpr Rgb kSellBlue{172, 171, 233};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kPureBlue{0, 0, 255};
inline constexpr Rgb kGrey{199, 199, 199};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

// How one grid cell is painted: its background, and where a rule sets them, its
// text colour and weight (otherwise the grid's own).
struct CellLook {
    constexpr CellLook(Rgb background = kWhite) // a colour alone is a look
        : background(background) {}
    constexpr CellLook(Rgb background, Rgb text, bool bold = false)
        : background(background)
        , text(text)
        , hasText(true)
        , bold(bold) {}
    Rgb background;
    Rgb text = kBlack;
    bool hasText = false;
    bool bold = false;
    friend constexpr bool operator==(const CellLook&, const CellLook&) = default;
};

} // namespace vantorel
