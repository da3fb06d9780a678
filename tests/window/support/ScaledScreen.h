#pragma once
// A window test's own screen: the offscreen platform with one screen of the given size
// in pixels at a scale, with or without window frames. Called in main() before the
// application object exists.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

inline bool UseScaledScreen(const QString& folder, int width, int height, int scale, bool frames) {
    QDir().mkpath(folder);
    const QString config = folder + "/screen.json";
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(QString(R"({"windowFrameMargins": %1, "screens": [{"name": "small", "x": 0, "y": 0,)"
                    R"( "width": %2, "height": %3, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                .arg(frames ? "true" : "false")
                .arg(width)
                .arg(height)
                .toUtf8());
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    return true;
}
