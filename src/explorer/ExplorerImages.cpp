#include "ExplorerImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velora::explorer {

namespace {

constexpr std::array<const char*, kExplorerImageCount> kKeys{
    "COMPANY",    "FORMULA",        "GROUP",    "DEPARTMENT", "ACCOUNT",
    "ACCOUNTEXT", "ACCOUNTDEF",     "CLSDFOLD", "USER",       "OPENFOLD",
    "ROOT",       "DEFAULTFORMULA", "REPORT",   "DELUSER",    "DELACCOUNT"};

void drawFolder(QPainter& p, bool open) {
    p.setPen(QColor(0x9c, 0x7a, 0x1e));
    p.setBrush(QColor(0xf2, 0xc9, 0x4c));
    p.drawRect(1, 4, 13, 9);
    p.drawRect(1, 2, 5, 2);
    if (open) {
        p.setBrush(QColor(0xfb, 0xe3, 0x8e));
        QPainterPath flap;
        flap.moveTo(3, 7);
        flap.lineTo(15, 7);
        flap.lineTo(13, 13);
        flap.lineTo(1, 13);
        flap.closeSubpath();
        p.drawPath(flap);
    }
}

void drawPerson(QPainter& p, const QColor& body) {
    p.setPen(body.darker(150));
    p.setBrush(QColor(0xf5, 0xcf, 0xa8));
    p.drawEllipse(5, 1, 6, 6);
    p.setBrush(body);
    p.drawRoundedRect(3, 8, 10, 7, 3, 3);
}

void drawSheet(QPainter& p, const QColor& band) {
    p.setPen(QColor(0x55, 0x55, 0x55));
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 10, 14);
    p.setPen(band);
    for (int y = 4; y <= 12; y += 3)
        p.drawLine(5, y, 11, y);
}

void drawAccount(QPainter& p, const QColor& colour) {
    p.setPen(colour.darker(160));
    p.setBrush(colour);
    p.drawRect(2, 5, 12, 9);
    p.drawRect(5, 2, 6, 3);
}

void drawCross(QPainter& p) {
    p.setPen(QPen(QColor(0xc0, 0x10, 0x10), 2));
    p.drawLine(9, 9, 14, 14);
    p.drawLine(14, 9, 9, 14);
}

void drawFormula(QPainter& p, const QColor& colour) {
    drawSheet(p, colour);
    p.setPen(QPen(colour.darker(130), 2));
    p.drawLine(6, 6, 10, 10);
    p.drawLine(10, 6, 6, 10);
}

void draw(QPainter& p, ExplorerImage image) {
    switch (image) {
    case ExplorerImage::Company:
        p.setPen(QColor(0x33, 0x44, 0x66));
        p.setBrush(QColor(0x88, 0x99, 0xbb));
        p.drawRect(2, 3, 12, 12);
        p.setBrush(Qt::white);
        for (int x = 4; x <= 10; x += 3)
            p.drawRect(x, 6, 2, 2);
        break;
    case ExplorerImage::Formula:
        drawFormula(p, QColor(0x20, 0x60, 0xc0));
        break;
    case ExplorerImage::Group:
        drawPerson(p, QColor(0x2e, 0x8b, 0x57));
        p.setBrush(QColor(0x6b, 0x8e, 0x23));
        p.drawRoundedRect(0, 10, 6, 5, 2, 2);
        break;
    case ExplorerImage::Department:
        p.setPen(QColor(0x44, 0x44, 0x44));
        p.setBrush(QColor(0xb0, 0xc4, 0xde));
        p.drawRect(1, 6, 14, 9);
        p.drawLine(1, 6, 8, 1);
        p.drawLine(8, 1, 15, 6);
        break;
    case ExplorerImage::Account:
        drawAccount(p, QColor(0x8b, 0x5a, 0x2b));
        break;
    case ExplorerImage::AccountExt:
        drawAccount(p, QColor(0x70, 0x80, 0x90));
        p.setPen(QPen(QColor(0x10, 0x40, 0xa0), 2));
        p.drawLine(8, 10, 14, 10);
        p.drawLine(11, 7, 14, 10);
        break;
    case ExplorerImage::AccountDef:
        drawAccount(p, QColor(0xda, 0xa5, 0x20));
        p.setPen(QColor(0x80, 0x00, 0x00));
        p.drawText(QRect(2, 5, 12, 9), Qt::AlignCenter, QStringLiteral("D"));
        break;
    case ExplorerImage::ClosedFolder:
        drawFolder(p, false);
        break;
    case ExplorerImage::User:
        drawPerson(p, QColor(0x41, 0x69, 0xe1));
        break;
    case ExplorerImage::OpenFolder:
        drawFolder(p, true);
        break;
    case ExplorerImage::Root:
        p.setPen(QColor(0x1f, 0x3a, 0x5f));
        p.setBrush(QColor(0x46, 0x82, 0xb4));
        p.drawEllipse(1, 1, 14, 14);
        p.setBrush(QColor(0xf0, 0xf8, 0xff));
        p.drawEllipse(5, 5, 6, 6);
        break;
    case ExplorerImage::DefaultFormula:
        drawFormula(p, QColor(0xb8, 0x86, 0x0b));
        break;
    case ExplorerImage::Report:
        drawSheet(p, QColor(0x80, 0x80, 0x80));
        break;
    case ExplorerImage::DeletedUser:
        drawPerson(p, QColor(0xa0, 0xa0, 0xa0));
        drawCross(p);
        break;
    case ExplorerImage::DeletedAccount:
        drawAccount(p, QColor(0xb0, 0xb0, 0xb0));
        drawCross(p);
        break;
    }
}

// The picture at a screen's pixel ratio: drawn in the 16x16 design's coordinates onto a pixmap
// with that many device pixels per design pixel, so a screen at twice the scale gets sharp
// lines rather than an enlarged 16x16 picture.
QPixmap makePixmap(ExplorerImage image, int pixelRatio) {
    QPixmap pixmap(ExplorerImages::kSize * pixelRatio, ExplorerImages::kSize * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QFont font = painter.font();
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    draw(painter, image);
    painter.end();
    return pixmap;
}

QIcon makeIcon(ExplorerImage image) {
    QIcon icon;
    for (int pixelRatio : {1, 2})
        icon.addPixmap(makePixmap(image, pixelRatio));
    return icon;
}

} // namespace

QString ExplorerImageKey(ExplorerImage image) {
    return QLatin1String(kKeys.at(static_cast<std::size_t>(image)));
}

bool ExplorerImageFromKey(const QString& key, ExplorerImage* image) {
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        if (key == QLatin1String(kKeys[i])) {
            *image = static_cast<ExplorerImage>(i);
            return true;
        }
    }
    return false;
}

ExplorerImages::ExplorerImages() {
    for (std::size_t i = 0; i < icons_.size(); ++i)
        icons_[i] = makeIcon(static_cast<ExplorerImage>(i));
}

QStringList ExplorerImages::keys() {
    QStringList result;
    for (const char* key : kKeys)
        result << QLatin1String(key);
    return result;
}

QIcon ExplorerImages::icon(ExplorerImage image) const {
    return icons_.at(static_cast<std::size_t>(image));
}

QIcon ExplorerImages::icon(const QString& key) const {
    ExplorerImage image;
    return ExplorerImageFromKey(key, &image) ? icon(image) : QIcon();
}

} // namespace velora::explorer
