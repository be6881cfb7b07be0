// How long "Ver resultado" takes to show a large converted list: the file
// read, the shapes set and the first picture drawn, on the offscreen
// platform. Target: well under a second for 100,000 points.
//
//   result_view_bench [POINTS] [RUNS]     default 100000 points, 7 runs
//
// Prints "result-view <points> points <median seconds> s (min <s>, max <s>)".
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "ui/ScriptedUserDialogs.h"
#include "ui/TFormResultView.h"

using namespace transref;

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int points = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("lista.txt"));
  {
    // A UTM survey as the converter writes it: "%s %10.5lf %10.5lf %10.5lf".
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    char line[96];
    for (int k = 0; k < points; ++k) {
      const int n = std::snprintf(line, sizeof line, "%d %10.5f %10.5f %10.5f\n", k + 1, 480000.0 + (k % 700) * 3.1,
                                  6670000.0 + (k / 700) * 2.7, 10.0 + k % 90);
      file.write(line, n);
    }
  }
  std::vector<double> seconds;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    ScriptedUserDialogs dialogs;
    TFormResultView view(dialogs);
    if (!view.Open(path, FileKind::Ascii3D, CoordinateSystemKind::Utm)) return 1;
    QImage picture(view.Canvas()->sizeHint(), QImage::Format_RGB32);
    QPainter painter(&picture);
    view.Canvas()->Render(painter, picture.size());
    painter.end();
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  std::printf("result-view %d points %.3f s (min %.3f, max %.3f)\n", points, seconds[seconds.size() / 2],
              seconds.front(), seconds.back());
  return 0;
}
