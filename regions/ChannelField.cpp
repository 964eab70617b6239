#include "regions/ChannelField.h"

#include "regions/core/StrToInt.h"

int TChannelField::ToInt() const { return StrToInt(text_.toStdString()); }
