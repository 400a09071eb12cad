#pragma once

// Registers the PNG codec's unit after those of the libraries it stands on:
// TPNGObject becomes the graphic class of ".png" files and of data that
// starts with the PNG signature.
void RegisterPngUnits();
