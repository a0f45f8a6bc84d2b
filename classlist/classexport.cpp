#include "classexport.h"

#include "classmodel.h"
#include "filesaving.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace ClassExport {

namespace {

template<typename Line> void appendLines(const ClassModel &model, Line &&line)
{
    line(ClassModel::headings());
    for (int row = 0; row < model.count(); ++row)
        line(model.fields(row));
}

} // namespace

QString guardFormula(const QString &field)
{
    if (!field.isEmpty() && QStringView(u"=+-@\"").contains(field.front()))
        return u'\'' + field;
    return field;
}

QString csvField(const QString &field)
{
    static const QString special = u",\"\r\n"_s;
    const bool quoted = std::any_of(field.begin(), field.end(), [](QChar c) { return special.contains(c); })
        || (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
    if (!quoted)
        return field;
    QString inner = field;
    inner.replace(u'"', u"\"\""_s);
    return u'"' + inner + u'"';
}

QString tabText(const ClassModel &model)
{
    QString text;
    appendLines(model, [&text](QStringList fields) {
        for (QString &field : fields)
            field = guardFormula(field);
        text += tabLine(fields);
    });
    return text;
}

QByteArray csv(const ClassModel &model)
{
    QString text;
    appendLines(model, [&text](const QStringList &fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                text += u',';
            text += csvField(guardFormula(fields[i]));
        }
        text += u"\r\n"_s;
    });
    return "\xEF\xBB\xBF" + text.toUtf8();
}

std::optional<QString> writeCsv(const QString &path, const ClassModel &model)
{
    return saveWhole(path, csv(model));
}

} // namespace ClassExport
