// SPDX-License-Identifier: GPL-3.0-or-later
// The instructions keep up with the program: every menu command of the main
// window is named in the instructions or the special instructions.

#include "main/main_form.h"
#include "model/model.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

namespace {

QString ReadDoc(const char* name) {
    QFile f(QStringLiteral(KESTROVE_DOCS "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A caption as the texts write it: no mnemonic, no ellipsis.
QString Plain(QString caption) {
    caption.remove(QLatin1Char('&'));
    caption.replace(QString::fromUtf8("\u2026"), QString());
    caption.replace(QStringLiteral("..."), QString());
    return caption.simplified();
}

} // namespace

class HelpCoversMenusTest : public QObject {
    Q_OBJECT
  private slots:
    void everyMenuCommandIsDescribed();
};

void HelpCoversMenusTest::everyMenuCommandIsDescribed() {
    const QString texts = Plain(ReadDoc("instruct.doc") + ReadDoc("KesSpIns.doc"));
    QVERIFY(texts.size() > 1000);
    kes::Model m;
    TMainForm form(m);
    int checked = 0;
    QStringList missing;
    for (QAction* top : form.menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu) continue;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || a->text().isEmpty()) continue;
            const QString caption = Plain(a->text());
            // A switch names its next state ("SetSteamDisp On"): its command word counts.
            const QString word = caption.section(QLatin1Char(' '), 0, 0);
            ++checked;
            if (!texts.contains(caption, Qt::CaseInsensitive) &&
                !(caption.contains(QLatin1Char(' ')) && word.startsWith(QLatin1String("Set")) &&
                  texts.contains(word)))
                missing.append(Plain(top->text()) + QStringLiteral(" > ") + caption);
        }
    }
    QVERIFY(checked > 30);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    HelpCoversMenusTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "help_covers_menus_test.moc"
