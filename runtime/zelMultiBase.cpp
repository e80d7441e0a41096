#include "zelMultiBase.h"

TClassMultiBase::TClassMultiBase(TZelMultiElementEx*, void*, void*) {}

TClassMultiBase::~TClassMultiBase() = default;
