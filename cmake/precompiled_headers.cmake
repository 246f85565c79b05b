# Precompiled headers: the system headers that most files of a kind include (the C++ library,
# GoogleTest, Qt) are parsed once per build instead of once per file, which is most of the
# compile time of a test file or a Qt file.
#
# qla_use_precompiled_headers(TARGET KIND) gives TARGET the precompiled header of KIND. Each kind
# is built once, by a small target of its own (qla_pch_<kind>, made on first use, in the folder of
# that first use) that links what the kind's files link, so it is compiled with their flags: GCC
# takes a precompiled header only where the flags it was built with match (-fPIC, which Qt asks
# for, and the QT_*_LIB definitions that Qt Test's headers test); elsewhere it warns
# (-Winvalid-pch) and reads the headers as text, which builds the same program, only slower.
#
# The kinds:
#   std            the Qt-free layers and the log generator
#   gtest          GoogleTest programs without Qt
#   gtest_qt       GoogleTest programs that link Qt Core (Qt asks for -fPIC)
#   qt_sql         the database and qla libraries (Qt Core and Qt SQL)
#   qt_widgets     the window libraries (Qt Widgets)
#   qttest_widgets Qt Test programs of the analyzer window
#   qttest_network Qt Test programs of the updater (Qt Test's headers look for Qt Network)
#
# -DQLA_PRECOMPILE_HEADERS=OFF builds without them, which shows a file that misses an include the
# precompiled header brought it.

option(QLA_PRECOMPILE_HEADERS "Precompile the system headers most files include" ON)

set(QLA_PCH_STD_HEADERS
    <algorithm> <array> <atomic> <cerrno> <cstddef> <cstdint> <cstdio> <cstring> <filesystem>
    <fstream> <functional> <map> <memory> <optional> <set> <sstream> <string> <string_view>
    <unordered_map> <utility> <vector>)
set(QLA_PCH_QTCORE_HEADERS
    <QByteArray> <QCoreApplication> <QDir> <QFile> <QFileInfo> <QObject> <QProcess> <QString>
    <QStringList> <QTemporaryDir> <QUrl> <QVariant>)
set(QLA_PCH_QTWIDGETS_HEADERS
    ${QLA_PCH_QTCORE_HEADERS} <QApplication> <QCheckBox> <QComboBox> <QGridLayout> <QHBoxLayout>
    <QLabel> <QLineEdit> <QPushButton> <QVBoxLayout> <QWidget>)

set(QLA_PCH_std_HEADERS ${QLA_PCH_STD_HEADERS})
set(QLA_PCH_std_LIBS)
set(QLA_PCH_gtest_HEADERS ${QLA_PCH_STD_HEADERS} <gtest/gtest.h>)
set(QLA_PCH_gtest_LIBS GTest::gtest)
set(QLA_PCH_gtest_qt_HEADERS ${QLA_PCH_STD_HEADERS} <gtest/gtest.h> ${QLA_PCH_QTCORE_HEADERS})
set(QLA_PCH_gtest_qt_LIBS GTest::gtest Qt6::Core)
set(QLA_PCH_qt_sql_HEADERS
    ${QLA_PCH_STD_HEADERS} ${QLA_PCH_QTCORE_HEADERS} <QCommandLineParser> <QSqlDatabase>
    <QSqlError> <QSqlQuery> <QSqlRecord>)
set(QLA_PCH_qt_sql_LIBS Qt6::Core Qt6::Sql)
set(QLA_PCH_qt_widgets_HEADERS <string> <vector> ${QLA_PCH_QTWIDGETS_HEADERS})
set(QLA_PCH_qt_widgets_LIBS Qt6::Widgets)
set(QLA_PCH_qttest_widgets_HEADERS ${QLA_PCH_qt_widgets_HEADERS} <QSignalSpy> <QTest>)
set(QLA_PCH_qttest_widgets_LIBS Qt6::Widgets Qt6::Test)
set(QLA_PCH_qttest_network_HEADERS ${QLA_PCH_qt_widgets_HEADERS} <QSignalSpy> <QTest>)
set(QLA_PCH_qttest_network_LIBS Qt6::Widgets Qt6::Network Qt6::Test)

function(qla_use_precompiled_headers target kind)
  if(NOT QLA_PRECOMPILE_HEADERS)
    return()
  endif()
  if(NOT DEFINED QLA_PCH_${kind}_HEADERS)
    message(FATAL_ERROR "qla_use_precompiled_headers: no kind ${kind}")
  endif()
  set(host qla_pch_${kind})
  if(NOT TARGET ${host})
    # The host compiles one empty file: its only product is the precompiled header.
    set(source ${CMAKE_BINARY_DIR}/precompiled_headers/host.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Builds a precompiled header; no code of its own.\n")
    add_library(${host} OBJECT ${source})
    set_target_properties(${host} PROPERTIES AUTOMOC OFF)
    target_link_libraries(${host} PRIVATE ${QLA_PCH_${kind}_LIBS} qla_warnings)
    target_precompile_headers(${host} PRIVATE ${QLA_PCH_${kind}_HEADERS})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${host})
endfunction()
