#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include "help_dialog.h"
#include "scripted_dialogs.h"
#include "wizard_fixture.h"

using namespace vellumar;

namespace {

qsizetype indentOf(const QString& line) {
    qsizetype indent = 0;
    while (indent < line.size() && line[indent] == QLatin1Char(' ')) {
        ++indent;
    }
    return indent;
}

} // namespace

class HelpDialogTest : public QObject {
    Q_OBJECT
private slots:
    void paragraphsWrapToTheWindowAndKeepTheirIndent() {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("help1.txt"));
        const std::string words = "a paragraph long enough to need several lines in a narrow "
                                  "help window, which it fills from side to side";
        testing::writeFile(file, "Step 2\r\n\r\n" + words + "\r\n    " + words + "\r\n");
        testing::ScriptedDialogs dialogs;
        TfrmHelp help(dialogs);
        help.resize(260, 300);
        help.setFiles(file, QString());
        help.show();
        help.reloadText();
        QApplication::processEvents();

        const QTextDocument& text = *help.memoHelp->document();
        QCOMPARE(text.blockCount(), 5);
        const QTextBlock plain = text.findBlockByNumber(2);
        const QTextBlock indented = text.findBlockByNumber(3);
        QCOMPARE(indented.text(), QString::fromStdString(words));
        QVERIFY(plain.layout()->lineCount() > 2);
        QVERIFY(indented.layout()->lineCount() > 2);
        // Every wrapped line of the indented paragraph starts at its indent.
        const qreal indent = indented.blockFormat().leftMargin();
        QVERIFY(indent > 0);
        const auto lineStart = [](const QTextBlock& block, int line) {
            return block.layout()->position().x() + block.layout()->lineAt(line).x();
        };
        for (int line = 0; line < indented.layout()->lineCount(); ++line) {
            QCOMPARE(lineStart(indented, line) - lineStart(plain, 0), indent);
        }
    }

    // A paragraph is one line of its file, so a line followed by another at its own indent
    // has ended its sentence.
    void theInstalledHelpTextsAreNotWrappedByHand() {
        const QDir data(QStringLiteral(VELLUMAR_SOURCE_DATA_DIR));
        const QStringList files = data.entryList({QStringLiteral("help*.txt")});
        QCOMPARE(files.size(), 10);
        const QRegularExpression ended(QStringLiteral("[.:!?)]$"));
        for (const QString& name : files) {
            QFile file(data.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
            const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
            for (qsizetype n = 0; n + 1 < lines.size(); ++n) {
                const QString& line = lines[n];
                const QString& next = lines[n + 1];
                if (line.trimmed().isEmpty() || next.trimmed().isEmpty() ||
                    indentOf(next) != indentOf(line)) {
                    continue;
                }
                QVERIFY2(ended.match(line).hasMatch(),
                         qPrintable(QStringLiteral("%1:%2: %3").arg(name).arg(n + 1).arg(line)));
            }
        }
    }
};

QTEST_MAIN(HelpDialogTest)
#include "help_dialog_test.moc"
