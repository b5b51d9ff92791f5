#include "comparison/GridLoader.h"

#include "common/TextGrid.h"

namespace vantorel {

int PosEx(const QString& SubStr, const QString& S, int Offset) {
    if (Offset < 1 || Offset > S.size())
        return 0;
    return int(S.indexOf(SubStr, Offset - 1)) + 1;
}

QStringList splitFields(const QString& line, int maxFields) {
    QStringList fields;
    int pos = 1;
    const int length = int(line.size());
    while (pos <= length && fields.size() < maxFields) {
        int sep = PosEx(QStringLiteral(","), line, pos);
        if (sep == 0)
            sep = length + 1;
        fields << line.mid(pos - 1, sep - pos);
        pos = sep + 1;
    }
    return fields;
}

void LoadStringGridFromMemo(TextGrid& aa, const QStringList& MemoBox) {
    aa.setRowCount(int(MemoBox.size()));
    for (int i = 0; i < MemoBox.size(); ++i) {
        const QStringList fields = splitFields(MemoBox[i], kMaxSnapshotColumns);
        if (i == 0)
            aa.setColumnCount(int(fields.size()));
        for (int j = 0; j < fields.size() && j < aa.columnCount(); ++j)
            aa.setCell(j, i, j == 0 ? fields[j].left(4) : fields[j]);
    }
}

} // namespace vantorel
