// Turns an SVG picture into PNG: reads the SVG file named by the one argument and writes the
// PNG to standard output, at the picture's own size on a white background. Runs without a display.
// The command-line tool runs it for `chart -o FILE.png`, so that nothing else it does loads a
// rasteriser.
//
//   project1-chart-png FILE.svg > FILE.png
//
// Exit status: 0 done, 2 bad usage, 1 the SVG could not be read or the PNG written.

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: project1-chart-png FILE.svg > FILE.png\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's notes (a missing runtime folder, an unknown font) mean nothing to the tool's user; the
  // helper's own messages say what failed.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::fprintf(stderr, "project1-chart-png: %s\n", qPrintable(message));
    }
  });
  int qt_argc = 1;
  QGuiApplication app(qt_argc, argv);

  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid() || svg.defaultSize().isEmpty()) {
    std::fprintf(stderr, "project1-chart-png: %s is not an SVG picture that can be drawn\n",
                 argv[1]);
    return 1;
  }
  QImage image(svg.defaultSize(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    svg.render(&painter);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG") ||
      std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
          static_cast<std::size_t>(bytes.size()) ||
      std::fflush(stdout) != 0) {
    std::fprintf(stderr, "project1-chart-png: the PNG could not be written\n");
    return 1;
  }
  return 0;
}
