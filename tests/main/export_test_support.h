// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the paper tests: poppler's pdfinfo and pdftotext run on a file.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>

// The tool's standard output, or nullopt when it cannot run or fails.
inline std::optional<QString> RunTool(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The "Pages:" of pdfinfo, or -1.
inline int PdfPages(const QString& file) {
    const auto info = RunTool(QStringLiteral("pdfinfo"), {file});
    if (!info) return -1;
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(*info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The "Page size:" line of pdfinfo, or empty.
inline QString PdfPageSize(const QString& file) {
    const auto info = RunTool(QStringLiteral("pdfinfo"), {file});
    if (!info) return {};
    const auto match = QRegularExpression(QStringLiteral("Page size:\\s+([^\\n]+)")).match(*info);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

inline QString PdfText(const QString& file) {
    return RunTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}).value_or(QString());
}
