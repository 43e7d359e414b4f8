#include "reports/gui/StatChart.h"

#include <QPainter>
#include <algorithm>

StatChart::StatChart(QWidget* parent) : QWidget(parent) {
    setObjectName("chtStat");
    setMinimumSize(280, 200);
}

void StatChart::setSeries(const QString& title, std::vector<StatBar> bars) {
    title_ = title;
    bars_ = std::move(bars);
    update();
}

QImage StatChart::image(const QSize& size) const {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    draw(p, img.rect());
    return img;
}

void StatChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    draw(p, rect());
}

// Horizontal bars, one a line, the longest filling the width; labels left, values right.
void StatChart::draw(QPainter& p, const QRect& area) const {
    p.setRenderHint(QPainter::Antialiasing);
    QFontMetrics fm(p.font());
    const int line = fm.height() + 6;
    QRect r = area.adjusted(8, 6, -8, -6);
    p.setPen(palette().color(QPalette::Text));
    p.drawText(r.left(), r.top() + fm.ascent(), title_);
    if (bars_.empty()) return;
    double top = 0;
    int labelWidth = 0;
    for (const StatBar& b : bars_) {
        top = std::max(top, b.value);
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(b.label));
    }
    labelWidth = std::min(labelWidth, r.width() / 3);
    const int valueWidth = fm.horizontalAdvance("00000000.00");
    const int barSpace = std::max(10, r.width() - labelWidth - valueWidth - 16);
    const int shown = std::max(1, std::min<int>(bars_.size(), (r.height() - line) / line));
    int y = r.top() + line + 4;
    for (int i = 0; i < shown; ++i) {
        const StatBar& b = bars_[i];
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QRect(r.left(), y, labelWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(b.label, Qt::ElideRight, labelWidth));
        int w = top > 0 ? static_cast<int>(barSpace * b.value / top) : 0;
        p.fillRect(QRect(r.left() + labelWidth + 8, y + 3, std::max(w, 1), line - 6),
                   QColor(70, 120, 180));
        p.drawText(
            QRect(r.left() + labelWidth + 12 + w, y, valueWidth, line),
            Qt::AlignLeft | Qt::AlignVCenter,
            QString::number(b.value, 'f', b.value == static_cast<long long>(b.value) ? 0 : 2));
        y += line;
    }
}
