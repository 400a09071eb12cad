#pragma once

// How many sheets a large page is split over, and how many pages join on
// one sheet.

// The number of pieces of length piece that cover length: the whole
// pieces, plus one when at least 11 units are left over, else the rounded
// quotient; at least one.
int qvxPieceCount(double length, double piece);

// A grid of pieces over an area: columns, rows, and whether the pieces are
// turned (taken as pieceHeight wide), which is chosen only when it needs
// strictly fewer pieces.
struct TqvxPieceGrid {
    int Cols = 1;
    int Rows = 1;
    bool Turned = false;
};

TqvxPieceGrid qvxPieceGrid(double width, double height, double pieceWidth, double pieceHeight);
