#include "ShapePicture.h"

#include "AppFolders.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>

namespace
{

// The file at root + relative, matching each name without regard to case, as the names are
// written for a file system that ignores it; "" when absent.
QString findIgnoringCase(const QString &root, const QString &relative)
{
    QString path = root;
    const QStringList parts = QString(relative).replace('\\', '/').split('/', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QStringList names = QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const auto match = std::find_if(names.cbegin(), names.cend(), [&part](const QString &n) {
            return n.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (match == names.cend())
            return {};
        path += '/' + *match;
    }
    return path;
}

} // namespace

ShapePicture::ShapePicture(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("picShape"));
    setFixedSize(170, 170);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::StyledPanel);
}

QString ShapePicture::pictureFile(GeometryCalculator::Shape shape)
{
    using Shape = GeometryCalculator::Shape;
    switch (shape) {
    case Shape::Square:
        return QStringLiteral("\\userFiles\\main\\NVCON-sqr.jpg");
    case Shape::Rectangle:
        return QStringLiteral("\\userfiles\\main\\NVCON-rct.jpg");
    case Shape::Circle:
        return QStringLiteral("\\userFiles\\main\\NVCON-cir.jpg");
    case Shape::Cube:
        return QStringLiteral("\\userFiles\\main\\NVCON-cube.jpg");
    case Shape::Sphere:
        return QStringLiteral("\\userFiles\\main\\NVCON-sph.jpg");
    case Shape::Cylinder:
        return QStringLiteral("\\userFiles\\main\\NVCON-cyl.jpg");
    }
    return {};
}

void ShapePicture::setShape(GeometryCalculator::Shape shape)
{
    m_shape = shape;
    const QString file = findIgnoringCase(AppFolders::programFolder(), pictureFile(shape));
    const QPixmap picture = file.isEmpty() ? QPixmap() : QPixmap(file);
    m_fromFile = !picture.isNull();
    if (m_fromFile)
        setPixmap(
            picture.scaled(size() - QSize(8, 8), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        clear();
    update();
}

void ShapePicture::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (m_fromFile)
        return;
    using Shape = GeometryCalculator::Shape;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.setBrush(palette().color(QPalette::Highlight).lighter(170));
    const QRectF box = QRectF(rect()).adjusted(30, 30, -30, -30);
    const QPointF c = box.center();
    switch (m_shape) {
    case Shape::Square:
        p.drawRect(box);
        break;
    case Shape::Rectangle:
        p.drawRect(box.adjusted(0, 25, 0, -25));
        break;
    case Shape::Circle:
        p.drawEllipse(box);
        p.drawLine(QPointF(box.left(), c.y()), QPointF(box.right(), c.y()));
        break;
    case Shape::Cube: {
        const QRectF front = box.adjusted(0, 25, -25, 0);
        const QPointF d(25, -25);
        p.drawPolygon(QPolygonF(
            {front.topLeft(), front.topLeft() + d, front.topRight() + d, front.topRight()}));
        p.drawPolygon(QPolygonF({front.topRight(), front.topRight() + d, front.bottomRight() + d,
                                 front.bottomRight()}));
        p.drawRect(front);
        break;
    }
    case Shape::Cylinder: {
        const QRectF top(box.left(), box.top(), box.width(), 30);
        const QRectF bottom = top.translated(0, box.height() - 30);
        p.drawRect(QRectF(top.center(), bottom.center())
                       .adjusted(-box.width() / 2, 0, box.width() / 2, 0));
        p.drawEllipse(bottom);
        p.drawEllipse(top);
        break;
    }
    case Shape::Sphere:
        p.drawEllipse(box);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(box.left(), c.y() - 15, box.width(), 30));
        break;
    }
}
