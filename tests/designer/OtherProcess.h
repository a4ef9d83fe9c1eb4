#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <initializer_list>
#include <string>

namespace quarn::designer {

/// Runs the command-line tool on the database `spec`, as another user would, and expects it to
/// succeed.
inline void RunOtherProcess(const std::string& spec, std::initializer_list<const char*> arguments) {
    QStringList all{QStringLiteral("--db"), QString::fromStdString(spec)};
    for (const char* argument : arguments) {
        all << QString::fromUtf8(argument);
    }
    QProcess tool;
    tool.start(QStringLiteral(QUARN_CLI), all);
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

}  // namespace quarn::designer
