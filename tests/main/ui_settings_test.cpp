// SPDX-License-Identifier: GPL-3.0-or-later
// The interface scale, the large font, the window sizes and places and the
// last view survive a restart, in a settings folder of the test's own.

#include "main/main_form.h"
#include "main/ui_settings.h"
#include "model/model.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QtMessageHandler previousHandler = nullptr;

void FilterSizeHints(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QStringLiteral("This plugin does not support propagateSizeHints()")))
        return;
    if (previousHandler) previousHandler(type, context, message);
}

} // namespace

class UiSettingsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString File() const { return dir_.filePath(QStringLiteral("kestrove.ini")); }

  private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(FilterSizeHints); }
    void rememberedAcrossARestart();
    void interfaceScaleAppliesAtTheNextStart();
};

void UiSettingsTest::rememberedAcrossARestart() {
    {
        UiSettings fresh(File());
        QCOMPARE(fresh.InterfaceScalePercent(), 100);
        QVERIFY(!fresh.LargeFont());
        QVERIFY(!fresh.LastView());
    }
    const QSize size(1000, 700);
    const kes::View view{31.5f, 240.25f, 333.0f};
    {
        kes::Model m;
        TMainForm form(m);
        QVERIFY(form.findChild<QAction*>(QStringLiteral("InterfaceScale1")));
        form.resize(size);
        m.CurrentView = view;
        m.TextScaleX = m.TextScaleY = 1.27f;
        UiSettings settings(File());
        settings.SetInterfaceScalePercent(150);
        settings.SaveFrom(form, m);
    }
    // The next start.
    kes::Model m;
    TMainForm form(m);
    QCOMPARE(m.CurrentView.Scale, 19.0f);
    UiSettings settings(File());
    settings.RestoreInto(form, m);
    QCOMPARE(form.size(), size);
    QCOMPARE(m.CurrentView.Scale, view.Scale);
    QCOMPARE(m.CurrentView.OffsetX, view.OffsetX);
    QCOMPARE(m.CurrentView.OffsetY, view.OffsetY);
    QCOMPARE(m.TextScaleX, 1.27f);
    QCOMPARE(settings.InterfaceScalePercent(), 150);

    // The normal font is remembered too, and a broken value is no value.
    m.TextScaleX = m.TextScaleY = 1.0f;
    settings.SaveFrom(form, m);
    QCOMPARE(UiSettings(File()).LargeFont(), std::optional<bool>(false));
    settings.SetInterfaceScalePercent(175);
    QCOMPARE(UiSettings(File()).InterfaceScalePercent(), 100);
}

void UiSettingsTest::interfaceScaleAppliesAtTheNextStart() {
    const QByteArray before = qgetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCALE_FACTOR");
    UiSettings(File()).SetInterfaceScalePercent(125);
    ApplyInterfaceScaleAtStart(File());
    QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("1.25"));
    // The user's own setting wins.
    qputenv("QT_SCALE_FACTOR", "2");
    UiSettings(File()).SetInterfaceScalePercent(150);
    ApplyInterfaceScaleAtStart(File());
    QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
    if (before.isEmpty())
        qunsetenv("QT_SCALE_FACTOR");
    else
        qputenv("QT_SCALE_FACTOR", before);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    UiSettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ui_settings_test.moc"
