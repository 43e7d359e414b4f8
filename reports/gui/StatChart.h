// A bar chart of one report column by row or by group, drawn with the painter so that it shows
// on screen and prints with the report as the same picture.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

struct StatBar {
    QString label;
    double value = 0;
};

class StatChart : public QWidget {
public:
    explicit StatChart(QWidget* parent = nullptr);
    void setSeries(const QString& title, std::vector<StatBar> bars);
    const std::vector<StatBar>& bars() const { return bars_; }
    const QString& title() const { return title_; }
    // The chart at a given size, for printing.
    QImage image(const QSize& size) const;
    QSize sizeHint() const override { return {420, 260}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void draw(class QPainter& p, const QRect& area) const;
    QString title_;
    std::vector<StatBar> bars_;
};
