// The root of every generated nested scheme class. The derived scheme's
// constructor builds its elements and its boundary object and links them.
#pragma once

class TZelEditMultiEx;
class TZelMultiElementEx;

class TClassMultiBase {
public:
    TClassMultiBase(TZelMultiElementEx* container, void* owner, void* parentWindow);
    virtual ~TClassMultiBase();
    TClassMultiBase(const TClassMultiBase&) = delete;
    TClassMultiBase& operator=(const TClassMultiBase&) = delete;

    TZelEditMultiEx* Boundary = nullptr;
};
