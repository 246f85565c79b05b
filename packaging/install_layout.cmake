# Where the installed programs live, decided before the programs are built: the analyzer and the
# updater find each other through the folder between them, compiled in as a relative path so an
# installed tree still works after it is moved (an unpacked package, another prefix).
include(GNUInstallDirs)

set(QLA_PACKAGE_NAME quarvel-logfile-analyzer)
# The reverse-DNS name of the desktop entry, the icon and the AppStream metainfo.
set(QLA_APP_ID org.example.quarvel.analyzer)

# The updater is a helper of the analyzer with a generic name: it stays out of the PATH.
set(QLA_INSTALL_UPDATERDIR ${CMAKE_INSTALL_LIBEXECDIR}/${QLA_PACKAGE_NAME})
set(QLA_INSTALL_FULL_UPDATERDIR ${CMAKE_INSTALL_FULL_LIBEXECDIR}/${QLA_PACKAGE_NAME})

file(RELATIVE_PATH QLA_UPDATER_FROM_ANALYZER ${CMAKE_INSTALL_FULL_BINDIR}
     ${QLA_INSTALL_FULL_UPDATERDIR})
file(RELATIVE_PATH QLA_ANALYZER_FROM_UPDATER ${QLA_INSTALL_FULL_UPDATERDIR}
     ${CMAKE_INSTALL_FULL_BINDIR})
