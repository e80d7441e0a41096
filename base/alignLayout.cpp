#include "alignLayout.h"

#include <algorithm>

namespace align {

bool Place(int alignment, int width, int height, TRoom& room, TBounds& bounds) {
    const int roomWidth = room.Right - room.Left;
    const int roomHeight = room.Bottom - room.Top;
    switch (alignment) {
        case Left:
            bounds = {room.Left, room.Top, width, roomHeight};
            room.Left += width;
            return true;
        case Top:
            bounds = {room.Left, room.Top, roomWidth, height};
            room.Top += height;
            return true;
        case Right:
            bounds = {room.Right - width, room.Top, width, roomHeight};
            room.Right -= width;
            return true;
        case Bottom:
            bounds = {room.Left, room.Bottom - height, roomWidth, height};
            room.Bottom -= height;
            return true;
        case Client: bounds = {room.Left, room.Top, std::max(1, roomWidth), std::max(1, roomHeight)}; return true;
        default: return false;
    }
}

}  // namespace align
