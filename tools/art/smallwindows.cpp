// The backgrounds of the small windows: the updater's.
#include <map>
#include <string>

#include "tools/art/paint.h"
#include "tools/art/palette.h"

int LetteringFont();

namespace {

// The updater's window, 400 x 400: carved slate in a gold frame, the name lettered on a crimson banner,
// a recess where the buttons and the status line stand, and a darker sill for the version line.
Image UpdateBack()
{
    Image img(400, 400);
    Stone(img, 0, 0, 400, 400, slate, 0.45, 31);
    Masonry(img, 120, 50);
    Vignette(img, 0.7);

    const double banner[] = {40, 34, 360, 34, 346, 70, 360, 106, 40, 106, 54, 70};
    Polygon(img, banner, 6, ink);
    const double cloth[] = {46, 38, 354, 38, 341, 70, 354, 102, 46, 102, 59, 70};
    Polygon(img, cloth, 6, Opaque(0x8A1E18));
    Shade(img, 46, 38, 308, 64, 1.25, 0.75);
    const Image name = TextMask(LetteringFont(), "Gorvanel", 50);
    Letter(img, name, 200 - name.w / 2, 70 - name.h / 2 - 2, goldlight, Opaque(0xB07A20), ink);
    const Image sub = TextMask(LetteringFont(), "Update", 22);
    Letter(img, sub, 200 - sub.w / 2, 110, Opaque(0xE8E0D0), Opaque(0xA8A090), ink);

    // The buttons stand at x 125-275, y 150-285; the status line replaces them, centred at y 200.
    Fill(img, 40, 138, 320, 162, Opaque(0x1E2232));
    Stone(img, 42, 140, 316, 158, slatedark, 0.35, 32);
    Bevel(img, 40, 138, 320, 162, -3, 0.5);

    // The version line is drawn at the bottom left.
    Shade(img, 0, 366, 400, 34, 0.55, 0.45);
    GoldRule(img, 14, 364, 372);

    for (int k = 0; k < 3; k++)
        Frame(img, 4 + k, 4 + k, 392 - 2 * k, 392 - 2 * k, k == 1 ? goldlight : gold);
    Frame(img, 7, 7, 386, 386, golddark);
    return img;
}

} // namespace

std::map<std::string, Image> SmallWindowArt()
{
    return {{"updateback.bmp", UpdateBack()}};
}
