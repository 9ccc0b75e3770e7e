#include "Sim_CommandBuilder.h"

#include "MessageCapture.h"
#include "SimC_GtcWriter.h"
#include "Sim_Utility.h"
#include "TestFiles.h"

#include <QtTest>

using Sim::Command;
using Sim::CommandBuilder;

namespace {

const QString kError = QStringLiteral("ERROR:sim:Sim_CommandBuilder - ");

Port::String P(const QString& text)
{
    return Sim::Utility::QStringToPortString(text);
}

QString Q(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

// Each command as "type|argument|argument".
QStringList Describe(const std::vector<Command>& commands)
{
    QStringList out;
    for (const Command& command : commands) {
        QStringList words{QString::number(command.GetType())};
        for (const Port::String& argument : command.GetArguments()) {
            words << Q(argument);
        }
        out << words.join(u'|');
    }
    return out;
}

// Each command as ToString() gives it, after Where() when asked.
QStringList Lines(const std::vector<Command>& commands, bool where = true)
{
    QStringList out;
    for (const Command& command : commands) {
        out << Q((where ? command.Where() : Port::String()) + command.ToString());
    }
    return out;
}

struct LineCase {
    const char* tag;
    const char* line;
    const char* expected;  // good lines: "type|arguments", "" when skipped; bad: the message
};

const LineCase kGoodLines[] = {
    {"no blanks around =", "SET a=b", "1|a|b"},
    {"mixed case", "CsEt DEPTH= 512", "3|DEPTH|512"},
    {"= inside value", "CSET INIT = a=b", "3|INIT|a=b"},
    {"value starting with =", "SET a==b", "1|a|=b"},
    {"bare backslash kept", "SET D = C:\\work", "1|D|C:\\work"},
    {"quoted key holding =", "SET \"a=b\"=c", "1|a=b|c"},
    {"tabs", "\tSET\ta\t=\tb\t", "1|a|b"},
    {"no-break space is a blank", "SET\u00A0x = gr\u00F6\u00DF", "1|x|gr\u00F6\u00DF"},
    {"SELECT", "SELECT \"Sync FIFO\" \"my co\" ip 2.1", "15|Sync FIFO|my co|ip|2.1"},
    {"SELECT bare name", "select fifo pellor ip 2.1", "15|fifo|pellor|ip|2.1"},
    {"NEWPROJECT relative", "NEWPROJECT proj/a.gtcfg", "12|proj/a.gtcfg"},
    {"SETPROJECT quoted", "SetProject \"../my dir/p.gtcfg\"", "17|../my dir/p.gtcfg"},
    {"GENERATE between blanks", "  GENERATE  ", "6"},
    {"END", "end", "4"},
    {"blanks", "  \t ", ""},
    {"indented comment with control", " \t#\001", ""},
    {"complete followed by anything", "Complete 2026-12-07 \"", ""},
};

const LineCase kBadLines[] = {
    {"unknown", "Foo bar", "unknown command 'Foo'"},
    {"keyword glued to =", "SET=a", "unknown command 'SET=a'"},
    {"long s is no s", "\u017FET a = b", "unknown command '\u017FET'"},
    {"SELECT 3", "SELECT \"FIFO\" pellor ip",
     "SELECT takes 4 arguments (\"name\" vendor library version), not 3"},
    {"SELECT unquoted blank", "SELECT Sync FIFO pellor ip 2.1",
     "SELECT takes 4 arguments (\"name\" vendor library version), not 5"},
    {"NEWPROJECT none", "NEWPROJECT", "NEWPROJECT takes 1 argument (path), not 0"},
    {"GENERATE argument", "GENERATE now", "GENERATE takes no arguments, not 1"},
    {"SET without =", "SET a b", "SET needs key = value"},
    {"SET without key", "SET = b", "SET needs key = value"},
    {"SET empty quoted key", "SET \"\" = b", "SET needs key = value"},
    {"CSET without =", "CSET WIDTH 8", "CSET needs name = value"},
    {"without value", "SET a = ", "SET needs a value after '=' (write \"\" for an empty value)"},
    {"two values", "SET OutputDirectory = /my designs",
     "SET takes one value after '=', not 2 (quote a value that holds blanks)"},
    {"unterminated", "SET a = \"abc", "unterminated quote"},
    {"escaped closing quote", "SET a = \"abc\\\"", "unterminated quote"},
    {"unknown escape", "SET a = \"C:\\work\"",
     "unknown escape '\\w' inside quotes (write \\\\ for a backslash)"},
    {"stray quote", "SET a = b\"c d\"", "stray quote in 'b\"c' (quote the whole argument)"},
    {"text after closing quote", "SELECT \"n\"v l 1 2", "a blank must follow the closing quote"},
    {"escape", "SET a = b\033c", "control character U+001B"},
    {"lone carriage return", "SET a = b\rc", "control character U+000D"},
};

enum class Kind { File, Directory, Missing, Unreadable };

}  // namespace

class TestCommandBuilder : public QObject {
    Q_OBJECT

private slots:
    void goodLine_data();
    void goodLine();
    void acceptedFile_data();
    void acceptedFile();
    void refusedFile_data();
    void refusedFile();
    void gtcRoundTrip();

private:
    Ipu::RuntimeOptions runtime;
};

void TestCommandBuilder::goodLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("expected");
    for (const LineCase& c : kGoodLines) {
        const QString expected = QString::fromUtf8(c.expected);
        QTest::newRow(c.tag) << QByteArray(c.line)
                             << (expected.isEmpty() ? QStringList() : QStringList{expected});
    }
}

// Also: ToString writes a line that reads back as the same command.
void TestCommandBuilder::goodLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, expected);
    MessageCapture messages;
    CommandBuilder builder(runtime);
    QCOMPARE(builder.AddCommandText(line, "t.gtb"), 0u);
    QCOMPARE(Describe(builder.GetCommands()), expected);
    QCOMPARE(messages.textLines(), QStringList());
    for (const Command& command : builder.GetCommands()) {
        CommandBuilder again(runtime);
        const std::string written = command.ToString().str();
        QCOMPARE(again.AddCommandText(QByteArray::fromStdString(written), "u.gtb"), 0u);
        QVERIFY2(Describe(again.GetCommands()) == expected, written.c_str());
    }
}

void TestCommandBuilder::acceptedFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");  // %1 the file
    QTest::newRow("CRLF") << QByteArray("SET a = b\r\n\r\n# c\r\nGENERATE\r\n")
                          << QStringList{"%1:1: SET a = b", "%1:4: GENERATE"};
    QTest::newRow("CR, no line feed at the end")
        << QByteArray("\nEND\r") << QStringList{"%1:2: END"};
    QTest::newRow("byte-order mark")
        << QByteArray("\xEF\xBB\xBFSET a = b\n") << QStringList{"%1:1: SET a = b"};
    QTest::newRow("at the size limit")
        << QByteArray(CommandBuilder::MAX_FILE_SIZE - 4, '#') + "\nEND" << QStringList{"%1:2: END"};
}

void TestCommandBuilder::acceptedFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("c.gtb");
    QVERIFY(TestFiles::write(path, content));
    CommandBuilder builder(runtime);
    QCOMPARE(builder.AddCommandFile(P(path)), 0u);
    QCOMPARE(Lines(builder.GetCommands()), expected.replaceInStrings("%1", path));
}

void TestCommandBuilder::refusedFile_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");  // %1 the file
    const auto file = [](const char* tag, const QByteArray& content, const QString& message) {
        QTest::newRow(tag) << Kind::File << content << message;
    };
    for (const LineCase& c : kBadLines) {
        file(c.tag, QByteArray("GENERATE\n") + c.line + "\nEND\n",
             "%1:2: " + QString::fromUtf8(c.expected));
    }
    file("long word cut", QByteArray(70, 'x'),
         "%1:1: unknown command '" + QString(57, u'x') + "...'");
    file("NUL", QByteArray("END\nGEN\0ERATE\n", 14), "%1:2: binary data (a NUL byte)");
    file("NUL in a comment", QByteArray("# \0", 3), "%1:1: binary data (a NUL byte)");
    file("bad byte", "# ok\nSET a = \xFF", "%1:2: not UTF-8 text");
    file("cut at line end", "SET a = \xE2\x82\nEND", "%1:1: not UTF-8 text");
    file("over the size limit", QByteArray(CommandBuilder::MAX_FILE_SIZE + 1, '#'),
         "%1: larger than 1 MiB (1048577 bytes)");
    QTest::newRow("directory") << Kind::Directory << QByteArray()
                               << "%1: a directory, not a command file";
    QTest::newRow("missing") << Kind::Missing << QByteArray()
                             << "%1: cannot be read: No such file or directory";
    QTest::newRow("unreadable") << Kind::Unreadable << QByteArray("END")
                                << "%1: cannot be read: Permission denied";
}

// The file is refused whole; what earlier files gave is kept.
void TestCommandBuilder::refusedFile()
{
    QFETCH(Kind, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("c.gtb");
    QVERIFY(kind == Kind::Missing || kind == Kind::Directory || TestFiles::write(path, content));
    QVERIFY(kind != Kind::Directory || QDir(dir.path()).mkdir("c.gtb"));
    if (kind == Kind::Unreadable) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        if (QFile(path).open(QIODevice::ReadOnly)) {
            QSKIP("this user reads files without read permission (root)");
        }
    }
    MessageCapture messages;
    CommandBuilder builder(runtime);
    QCOMPARE(builder.AddCommandText("END", "first.gtb"), 0u);
    QCOMPARE(builder.AddCommandFile(P(path)), 1u);
    QCOMPARE(Describe(builder.GetCommands()), QStringList{"4"});
    QCOMPARE(messages.textLines(), QStringList{kError + message.arg(path) + "\n"});
}

// Every command the .gtc writer writes comes back, and ToString writes its very line.
void TestCommandBuilder::gtcRoundTrip()
{
    Ipu::IPComponent ip;
    ip.SetName("rx_fifo");
    ip.SetUnconfiguredDisplayName("Synchronous \"FIFO\" \\ 2");
    ip.SetIdentifier(Ipu::VersionedIdentifier("pellor", "ip", "fifo_sync", "2.1"));
    Ipu::ProjectOptions options;
    QCOMPARE(options.SetOutputDirectory("/home/me/my designs"), 0u);
    QCOMPARE(options.SetWorkingDirectory("tmp\\\"x\""), 0u);
    Ipu::ProjectOptions::KeyValueList pairs;
    options.GetKeyValuePairs(pairs);
    QStringList expected;
    for (const auto& [key, value] : pairs) {
        expected << "1|" + Q(key) + "|" + Q(value);
    }
    expected << "15|Synchronous \"FIFO\" \\ 2|pellor|ip|2.1"
             << "3|component_name|rx_fifo";
    const QStringList values{"up down", "",   "say \"hi\"", "C:\\work",
                             "a=b",     "#x", "a\tb",       "\u00F6"};
    for (const QString& value : values) {
        const QString name = QStringLiteral("P%1").arg(expected.size());
        QCOMPARE(ip.GetParameters().Add({P(name), P(value), "string", {}, "", ""}), 0u);
        expected << "3|" + name + "|" + value;
    }
    QString text, reason;
    QVERIFY2(SimC::GtcWriter::Write(ip, options, text, reason), qPrintable(reason));
    CommandBuilder builder(runtime);
    QCOMPARE(builder.AddCommandText(text.toUtf8(), "rx_fifo.gtc"), 0u);
    QCOMPARE(Describe(builder.GetCommands()), expected << "6");
    QCOMPARE(Lines(builder.GetCommands(), false),
             text.split(u'\n').filter(QRegularExpression(QStringLiteral("^[^#]"))));
}

QTEST_GUILESS_MAIN(TestCommandBuilder)
#include "tst_commandbuilder.moc"
