#include "Control/core/PelmoraC02.h"

PelmoraC02::PelmoraC02(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PelmoraC02"));
}

PelmoraC02::~PelmoraC02() = default;
