#include "app/ImageMap.h"

TfrmImageMap::TfrmImageMap(QWidget *parent) : TGradientForm(parent)
{
    setObjectName(QStringLiteral("frmImageMap"));
    SetCaption(QStringLiteral("Mapolin - v1.23"));
    SetClientSize(417, 323);
}
