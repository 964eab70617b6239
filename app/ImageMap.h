// The main window: image, tool bar, menu, bottom bar and all editor state.
#pragma once

#include "dialogs/GradForm.h"

class TfrmImageMap : public TGradientForm {
    Q_OBJECT
public:
    explicit TfrmImageMap(QWidget *parent = nullptr);
};
