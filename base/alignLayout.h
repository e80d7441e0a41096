// How the children of a window that are aligned to one of its sides share
// its client area. In their creation order each takes a strip along its side
// of the room the earlier ones left: its own width at the left or right,
// its own height at the top or bottom, and the room's whole other extent.
// A child aligned to the client takes all the room that is left, never less
// than 1 by 1, and leaves it to the next.
#pragma once

namespace align {

enum : int { None = 0, Left = 1, Top = 2, Right = 3, Bottom = 4, Client = 5 };

struct TRoom {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
struct TBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// The bounds of a child aligned by alignment whose own size is width by
// height, and room less the strip it takes. False for an alignment that
// places nothing (None, or no known side): then room is left as it was.
bool Place(int alignment, int width, int height, TRoom& room, TBounds& bounds);

// Whether a child's own width (or height) counts under alignment: its
// strip's other extent is the room's.
inline bool KeepsWidth(int alignment) { return alignment == None || alignment == Left || alignment == Right; }
inline bool KeepsHeight(int alignment) { return alignment == None || alignment == Top || alignment == Bottom; }

}  // namespace align
