// A test that needs a program from outside the project (LibreOffice, say) finds it here. One rule
// for all of them: a missing program skips the test with a message naming the package to install,
// except in CI (CI=true), whose machine is set up with every one of them, where it fails.
#pragma once

#include <QStandardPaths>
#include <QtTest>

// Sets `path` to the program's full path, or skips or fails the calling test function.
#define QUILLMARK_REQUIRE_TOOL(path, program, package)                                             \
    do {                                                                                           \
        path = QStandardPaths::findExecutable(QStringLiteral(program));                            \
        if (path.isEmpty()) {                                                                      \
            if (qEnvironmentVariable("CI") == QLatin1String("true"))                               \
                QFAIL(program " is missing: ./test installs " package);                            \
            QSKIP(program " is missing: install " package " to run this test");                    \
        }                                                                                          \
    } while (false)
