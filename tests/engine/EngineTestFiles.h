#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace twinscan::test {

// A private folder for one test's files, removed with it.
class TempFolder
{
public:
    TempFolder() { EXPECT_TRUE(dir_.isValid()); }

    QString path(const QString &name) const { return dir_.filePath(name); }

    QString write(const QString &name, std::string_view bytes) const
    {
        const QString file = path(name);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        EXPECT_EQ(out.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
        return file;
    }

private:
    QTemporaryDir dir_;
};

// Bytes written out with escapes, so that a failed expectation shows CR, LF and NUL.
inline std::string visible(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (u < 32 || u >= 127)
            out += "\\x" + std::string(1, "0123456789ABCDEF"[u >> 4])
                + std::string(1, "0123456789ABCDEF"[u & 15]);
        else
            out += c;
    }
    return out;
}

// Names parameterised cases after their `name` field, which gtest wants alphanumeric.
struct ByName
{
    template<class Param> std::string operator()(const ::testing::TestParamInfo<Param> &info) const
    {
        std::string name;
        for (const char c : std::string_view(info.param.name))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    }
};

} // namespace twinscan::test
