// Headers compiled once per target with windows (precompiled): Qt Widgets and the standard
// library parts nearly every window and its tests include. Parsing them again for every
// file was most of the time of a first build.
#ifndef ORVANE_QT_WIDGETS_PCH_H
#define ORVANE_QT_WIDGETS_PCH_H

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QString>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#endif
