#include "chart/chart_svg.h"

#include <cmath>

#include "chart/text_metrics.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

class SvgWriter {
 public:
  std::string& out() { return out_; }

  void Attribute(std::string_view name, double value) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    AppendDrawingCoordinate(out_, value);
    out_ += '"';
  }
  void Attribute(std::string_view name, std::string_view value) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    out_ += XmlEscaped(value);
    out_ += '"';
  }
  void StrokeAttributes(const Stroke& stroke) {
    if (stroke.colour.empty()) {
      Attribute("stroke", "none");
      return;
    }
    Attribute("stroke", stroke.colour);
    Attribute("stroke-width", stroke.width);
  }

  void operator()(const LineShape& line) {
    out_ += "<line";
    Attribute("x1", line.from.x);
    Attribute("y1", line.from.y);
    Attribute("x2", line.to.x);
    Attribute("y2", line.to.y);
    StrokeAttributes(line.stroke);
    out_ += "/>\n";
  }
  void operator()(const PolylineShape& polyline) {
    out_ += "<polyline points=\"";
    for (std::size_t i = 0; i < polyline.points.size(); ++i) {
      if (i > 0) out_ += ' ';
      AppendDrawingCoordinate(out_, polyline.points[i].x);
      out_ += ',';
      AppendDrawingCoordinate(out_, polyline.points[i].y);
    }
    out_ += '"';
    Attribute("fill", "none");
    StrokeAttributes(polyline.stroke);
    Attribute("stroke-linejoin", "round");
    out_ += "/>\n";
  }
  void operator()(const CircleShape& circle) {
    out_ += "<circle";
    Attribute("cx", circle.centre.x);
    Attribute("cy", circle.centre.y);
    Attribute("r", circle.radius);
    Attribute("fill", circle.fill.empty() ? "none" : std::string_view(circle.fill));
    StrokeAttributes(circle.stroke);
    out_ += "/>\n";
  }
  void operator()(const RectShape& rect) {
    out_ += "<rect";
    Attribute("x", rect.x);
    Attribute("y", rect.y);
    Attribute("width", rect.width);
    Attribute("height", rect.height);
    Attribute("fill", rect.fill.empty() ? "none" : std::string_view(rect.fill));
    if (!rect.fill.empty() && rect.fill_opacity != 1) Attribute("fill-opacity", rect.fill_opacity);
    StrokeAttributes(rect.stroke);
    out_ += "/>\n";
  }
  void operator()(const TextShape& text) {
    out_ += "<text";
    Attribute("x", text.at.x);
    Attribute("y", text.at.y);
    Attribute("font-size", text.size);
    if (text.anchor != TextAnchor::Start) {
      Attribute("text-anchor", text.anchor == TextAnchor::Middle ? "middle" : "end");
    }
    if (text.bold) Attribute("font-weight", "bold");
    Attribute("fill", text.colour);
    if (text.vertical) {
      out_ += " transform=\"rotate(-90 ";
      AppendDrawingCoordinate(out_, text.at.x);
      out_ += ' ';
      AppendDrawingCoordinate(out_, text.at.y);
      out_ += ")\"";
    }
    out_ += '>';
    out_ += XmlEscaped(text.text);
    out_ += "</text>\n";
  }

 private:
  std::string out_;
};

}  // namespace

std::string XmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ChartSvg(const ChartDescription& chart, double width, double height) {
  const ChartScene scene = LayOutChart(chart, width, height);
  SvgWriter svg;
  std::string& out = svg.out();
  out.reserve(4096 + 1024 * chart.lines.size());
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"";
  svg.Attribute("width", width);
  svg.Attribute("height", height);
  out += " viewBox=\"0 0 ";
  AppendDrawingCoordinate(out, width);
  out += ' ';
  AppendDrawingCoordinate(out, height);
  out += "\" font-family=\"";
  out += kChartFontFamilies;
  out += "\">\n";
  out += "<title>";
  out += XmlEscaped(kChartTitle);
  out += "</title>\n<desc>";
  out += XmlEscaped(DescribeChart(chart));
  out += "</desc>\n";
  svg(MakeRect(0, 0, width, height, {}, scene.background, 1));
  for (const Shape& shape : scene.shapes) std::visit(svg, shape);
  out += "</svg>\n";
  return out;
}

}  // namespace project1
