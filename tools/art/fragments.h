// The check every picture cut from an atlas passes: no piece of a neighbouring sprite came with it.
#pragma once
#include <string>

#include "tools/art/image.h"

// What is wrong with a cut for a cell of cellw x cellh: larger than the cell, or holding an opaque piece
// that touches the cut's edge apart from the main figure (the largest 8-connected opaque region), which
// is what a rectangle a few pixels too large catches of the next sprite. "" when the cut is clean.
// Pictures that really end at an edge in several pieces pass with edgeok.
// atlasx, atlasy: where the cut lies in its atlas, so the message can name the figure's own rectangle.
std::string CheckCut(const Image& cut, int atlasx, int atlasy, int cellw, int cellh, bool edgeok);

// Clears every opaque piece that touches the cut's edge apart from the figure, with its faint rim: for a
// sprite whose own box holds a corner of its neighbour (the cut option alone).
void KeepFigure(Image& cut);
