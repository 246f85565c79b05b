// XML read back through QXmlStreamReader.
#include "xml_check.h"

#include <QByteArray>
#include <QXmlStreamReader>

namespace qla::robust {

XmlReading ReadXml(std::string_view document, std::string_view countedName) {
    XmlReading reading;
    QXmlStreamReader reader(QByteArray(document.data(), static_cast<qsizetype>(document.size())));
    const QString counted =
        QString::fromUtf8(countedName.data(), static_cast<qsizetype>(countedName.size()));
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++reading.Elements;
            if (reader.name() == counted)
                ++reading.Named;
        } else if (reader.isCharacters()) {
            reading.Text += reader.text().toString().toStdString();
        }
    }
    if (reader.hasError())
        reading.Error =
            reader.errorString().toStdString() + " at line " + std::to_string(reader.lineNumber());
    return reading;
}

} // namespace qla::robust
