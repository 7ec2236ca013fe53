#pragma once

#include "GeometryCalculator.h"

#include <QLabel>

// The picture of the chosen shape: the shipped picture file from the program folder, or a
// drawing of the shape when the file is absent.
class ShapePicture : public QLabel
{
    Q_OBJECT
public:
    explicit ShapePicture(QWidget *parent = nullptr);

    void setShape(GeometryCalculator::Shape shape);
    // The picture file of a shape, relative to the program folder, as the window names it.
    static QString pictureFile(GeometryCalculator::Shape shape);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    GeometryCalculator::Shape m_shape = GeometryCalculator::Shape::Square;
    bool m_fromFile = false;
};
