#pragma once
// Reads back a written .xlsx with an independent reader: python3's zipfile
// and XML parser on the workbook's parts. Each cell comes back with its
// reference, whether it is a number or a string, and its value.

#include <map>
#include <optional>
#include <string>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace tessaran::test {

struct TSheetCell {
    bool Number = false;
    std::string Value;
};

struct TReadSheet {
    std::string SheetName;
    std::string Dimension;
    std::map<std::string, TSheetCell> Cells;
};

inline bool SpreadsheetReaderAvailable() { return !QStandardPaths::findExecutable("python3").isEmpty(); }

// Empty when python3 is missing or cannot read the file.
inline std::optional<TReadSheet> ReadSpreadsheet(const QString &fileName)
{
    static const char *const script = R"PY(
import sys, zipfile, xml.etree.ElementTree as ET
M = '{http://schemas.openxmlformats.org/spreadsheetml/2006/main}'
z = zipfile.ZipFile(sys.argv[1])
wb = ET.fromstring(z.read('xl/workbook.xml'))
out = []
for s in wb.iter(M + 'sheet'):
    out.append('SHEET\t' + s.get('name'))
shared = []
if 'xl/sharedStrings.xml' in z.namelist():
    for si in ET.fromstring(z.read('xl/sharedStrings.xml')).iter(M + 'si'):
        shared.append(''.join(t.text or '' for t in si.iter(M + 't')))
ws = ET.fromstring(z.read('xl/worksheets/sheet1.xml'))
d = ws.find(M + 'dimension')
out.append('DIM\t' + (d.get('ref') if d is not None else ''))
for c in ws.iter(M + 'c'):
    t = c.get('t', 'n')
    v = c.find(M + 'v')
    if t == 's':
        out.append(c.get('r') + '\tS\t' + shared[int(v.text)])
    elif t == 'inlineStr':
        out.append(c.get('r') + '\tS\t' + ''.join(x.text or '' for x in c.iter(M + 't')))
    elif t == 'str':
        out.append(c.get('r') + '\tS\t' + (v.text or ''))
    else:
        out.append(c.get('r') + '\tN\t' + (v.text if v is not None else ''))
sys.stdout.buffer.write('\n'.join(out).encode('utf-8'))
)PY";
    if (!SpreadsheetReaderAvailable())
        return std::nullopt;
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(script), fileName});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return std::nullopt;
    TReadSheet sheet;
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        if (parts.size() == 2 && parts[0] == QStringLiteral("SHEET"))
            sheet.SheetName = parts[1].toStdString();
        else if (parts.size() == 2 && parts[0] == QStringLiteral("DIM"))
            sheet.Dimension = parts[1].toStdString();
        else if (parts.size() == 3)
            sheet.Cells[parts[0].toStdString()] = {parts[1] == QStringLiteral("N"), parts[2].toStdString()};
    }
    return sheet;
}

} // namespace tessaran::test
