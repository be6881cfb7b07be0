#pragma once
// Files of the runs started from the windows: reading and writing them, the
// batch converter's output for the same job, and a point list that every
// locale reads alike.

#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace transref::testing {

inline QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

#ifdef TRANSREF_CONVERT_PROGRAM
// Runs bin/transref-convert and returns the bytes of its output file (empty
// when it failed). Systems not named are the window's starting ones.
inline QByteArray ConvertInBatch(QStringList arguments, const QString& output) {
  if (!arguments.contains(QStringLiteral("--from"))) arguments.prepend(QStringLiteral("gk-oru")), arguments.prepend(QStringLiteral("--from"));
  if (!arguments.contains(QStringLiteral("--to"))) arguments.prepend(QStringLiteral("ltm-oru")), arguments.prepend(QStringLiteral("--to"));
  QProcess batch;
  batch.start(QStringLiteral(TRANSREF_CONVERT_PROGRAM), arguments);
  if (!batch.waitForFinished(60000) || batch.exitCode() != 0) {
    qWarning() << "transref-convert failed:" << batch.readAllStandardError();
    return {};
  }
  return ReadAll(output);
}
#endif

// A 3D list of `count` points around the samples' area, in Gauß-Krüger (Oru),
// written with whole metres: no decimal mark, so the run does not depend on
// the decimal notation the list is read with.
inline QByteArray WholeMetreList(int count) {
  QByteArray bytes;
  for (int k = 0; k < count; ++k) {
    bytes += QByteArray::number(k + 1) + ' ' + QByteArray::number(180000 + k) + ' ' +
             QByteArray::number(1675000 + k / 2) + ' ' + QByteArray::number(10 + k % 50) + '\n';
  }
  return bytes;
}

}  // namespace transref::testing
