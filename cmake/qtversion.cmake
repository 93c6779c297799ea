# SPDX-License-Identifier: GPL-3.0-or-later
# Qt 5.15 by default; VELD_QT6 builds against Qt 6 instead. Callers find their
# components with find_package(Qt${QT_VERSION_MAJOR} ${VELD_QT_MINIMUM} ...)
# and link Qt's versionless targets (Qt::Core, Qt::Widgets, ...).
option(VELD_QT6 "Build against Qt 6 instead of Qt 5" OFF)
if(VELD_QT6)
    set(QT_VERSION_MAJOR 6)
    set(VELD_QT_MINIMUM 6.4)
else()
    set(QT_VERSION_MAJOR 5)
    set(VELD_QT_MINIMUM 5.15)
endif()
