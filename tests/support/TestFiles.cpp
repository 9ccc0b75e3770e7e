#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace TestFiles {

bool write(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        qWarning("cannot write %s", qPrintable(path));
        return false;
    }
    return true;
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const std::string& path, const QByteArray& content)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(content.constData(), 1, std::size_t(content.size()),
                                             file) == std::size_t(content.size());
    return file && std::fclose(file) == 0 && written;
}

QByteArray readBytes(const std::string& path)
{
    QByteArray content;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return content;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        content.append(buffer, qsizetype(n));
    std::fclose(file);
    return content;
}

bool age(const QString& path, int seconds)
{
    std::error_code error;
    const std::filesystem::path file(path.toStdString());
    std::filesystem::last_write_time(
        file, std::filesystem::file_time_type::clock::now() - std::chrono::seconds(seconds), error);
    return !error;
}

QStringList entries(const QString& directory)
{
    // Read as bytes: Qt leaves out names that are not UTF-8.
    QStringList names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory.toStdString(), error))
        names.append(QString::fromStdString(entry.path().filename().string()));
    names.sort();
    return names;
}

}  // namespace TestFiles
