#pragma once
// The about box: the about picture, the program's version and the copyright line.

#include "UBaseFrom.h"

class TFrmAbout : public TBaseFrm {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *owner);

    QLabel *ImgAbout = nullptr;
    QLabel *LabVersion = nullptr;
    QLabel *labright = nullptr;
    QLabel *labVexasoft = nullptr; // opens the maker's home page
};

// The about box, modal over `owner`.
void ShowAbout(QWidget *owner);
