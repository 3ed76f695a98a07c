#include "window/chart_painter.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <cmath>

namespace project1 {

namespace {

QColor Colour(const std::string& text) { return QColor(QString::fromStdString(text)); }

QPen PenOf(const Stroke& stroke) {
  if (stroke.colour.empty()) return Qt::NoPen;
  QPen pen(Colour(stroke.colour), stroke.width);
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

QBrush BrushOf(const std::string& fill, double opacity = 1) {
  if (fill.empty()) return Qt::NoBrush;
  QColor colour = Colour(fill);
  colour.setAlphaF(static_cast<float>(opacity));
  return colour;
}

QPointF Point(PixelPoint p) { return {p.x, p.y}; }

// The family the SVG names first, where installed; Qt picks the nearest otherwise.
QFont ChartFont(const TextShape& text) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(static_cast<int>(std::lround(text.size)));
  font.setBold(text.bold);
  return font;
}

class ShapePainter {
 public:
  explicit ShapePainter(QPainter& painter) : painter_(painter) {}

  void operator()(const LineShape& line) {
    painter_.setPen(PenOf(line.stroke));
    painter_.drawLine(Point(line.from), Point(line.to));
  }
  void operator()(const PolylineShape& polyline) {
    QPolygonF points;
    points.reserve(static_cast<qsizetype>(polyline.points.size()));
    for (PixelPoint p : polyline.points) points << Point(p);
    painter_.setPen(PenOf(polyline.stroke));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPolyline(points);
  }
  void operator()(const CircleShape& circle) {
    painter_.setPen(PenOf(circle.stroke));
    painter_.setBrush(BrushOf(circle.fill));
    painter_.drawEllipse(Point(circle.centre), circle.radius, circle.radius);
  }
  void operator()(const RectShape& rect) {
    painter_.setPen(PenOf(rect.stroke));
    painter_.setBrush(BrushOf(rect.fill, rect.fill_opacity));
    painter_.drawRect(QRectF(rect.x, rect.y, rect.width, rect.height));
  }
  void operator()(const TextShape& text) {
    const QFont font = ChartFont(text);
    const QString shown = QString::fromStdString(text.text);
    const double width = QFontMetricsF(font).horizontalAdvance(shown);
    double dx = 0;
    if (text.anchor == TextAnchor::Middle) dx = -width / 2;
    if (text.anchor == TextAnchor::End) dx = -width;
    painter_.save();
    painter_.setFont(font);
    painter_.setPen(Colour(text.colour));
    painter_.translate(Point(text.at));
    if (text.vertical) painter_.rotate(-90);
    painter_.drawText(QPointF(dx, 0), shown);
    painter_.restore();
  }

 private:
  QPainter& painter_;
};

}  // namespace

void PaintChartScene(QPainter& painter, const ChartScene& scene) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(QRectF(0, 0, scene.width, scene.height), Colour(scene.background));
  ShapePainter paint(painter);
  for (const Shape& shape : scene.shapes) std::visit(paint, shape);
  painter.restore();
}

}  // namespace project1
