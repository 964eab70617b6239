#include "regions/ChannelField.h"

#include "output/core/StrToInt.h"

int TChannelField::ToInt() const { return StrToInt(text_.toStdString()); }
