#pragma once

#include <QWidget>

// The cube browser control. Containers create it by its class name "PelmoraApp.PelmoraC02"
// and drive it through its properties, methods and events.
class PelmoraC02 : public QWidget
{
    Q_OBJECT

public:
    explicit PelmoraC02(QWidget *parent = nullptr);
    ~PelmoraC02() override;
};
