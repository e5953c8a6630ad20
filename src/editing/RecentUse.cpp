#include "editing/RecentUse.h"

#include "engine/FileName.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace twinscan {

using namespace Qt::StringLiterals;

namespace {

const QString applicationName = u"Twinscan"_s;
// GTK keeps the command shell-quoted.
const QString applicationExec = u"'twinscan %u'"_s;

// A list without bookmarks, as GTK starts one.
constexpr char emptyDocument[]
    = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<xbel version=\"1.0\""
      " xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\""
      " xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
      "</xbel>\n";

bool sameFile(QStringView href, const QByteArray &uri)
{
    return QByteArray::fromPercentEncoding(href.toUtf8()) == QByteArray::fromPercentEncoding(uri);
}

// Copies the document token by token, with namespaces read as plain prefixes as every writer of
// the list spells them (so elements are written here by their qualified names: the writer's own
// copy would drop the prefixes), and records the use on the way: in the file's bookmark where there
// is one, else in a new bookmark at the end.
class UseRecorder
{
public:
    UseRecorder(QByteArrayView stored, const RecentUse &use)
        : in_(stored.toByteArray()),
          use_(use),
          uri_(fileUri(use.file)),
          time_(use.time.toUTC().toString(Qt::ISODateWithMs))
    {
        in_.setNamespaceProcessing(false);
    }

    std::optional<QByteArray> run()
    {
        while (!in_.atEnd() && !refused_) {
            switch (in_.readNext()) {
            case QXmlStreamReader::StartDocument:
                out_.writeStartDocument();
                out_.writeCharacters(u"\n"_s);
                break;
            case QXmlStreamReader::StartElement:
                startElement();
                break;
            case QXmlStreamReader::EndElement:
                endElement();
                break;
            case QXmlStreamReader::Invalid: // the error ends the loop
                break;
            default:
                out_.writeCurrentToken(in_);
            }
        }
        if (in_.hasError() || refused_ || !recorded_)
            return std::nullopt;
        return bytes_; // the end of the document ended its last line
    }

private:
    void startElement()
    {
        const QStringView name = in_.qualifiedName();
        if (depth_ == 0 && name != u"xbel") {
            refused_ = true;
            return;
        }
        ++depth_;
        if (depth_ == 2 && name == u"bookmark" && !recorded_
            && sameFile(in_.attributes().value("href"_L1), uri_)) {
            touchBookmark();
        } else if (inBookmark_ && !applicationWritten_ && name == u"bookmark:application"
            && in_.attributes().value("name"_L1) == applicationName) {
            writeApplication(in_.attributes().value("count"_L1).toInt() + 1);
            in_.skipCurrentElement();
            --depth_;
        } else {
            out_.writeStartElement(name.toString());
            out_.writeAttributes(in_.attributes());
        }
    }

    void endElement()
    {
        const QStringView name = in_.qualifiedName();
        if (inBookmark_ && !applicationWritten_ && name == u"bookmark:applications") {
            out_.writeCharacters(u"  "_s);
            writeApplication(1);
            out_.writeCharacters(u"\n        "_s);
        } else if (inBookmark_ && depth_ == 2) {
            if (!applicationWritten_) { // a bookmark without applications gets them
                out_.writeCharacters(u"  "_s);
                writeInfo();
                out_.writeCharacters(u"\n  "_s);
            }
            inBookmark_ = false;
        } else if (depth_ == 1 && !recorded_) {
            writeBookmark();
        }
        out_.writeCurrentToken(in_);
        --depth_;
    }

    // The file was used again: it keeps when it was added, and Twinscan's count goes up.
    void touchBookmark()
    {
        inBookmark_ = recorded_ = true;
        out_.writeStartElement(in_.qualifiedName().toString());
        for (const QXmlStreamAttribute &attribute : in_.attributes()) {
            if (attribute.name() != u"modified" && attribute.name() != u"visited")
                out_.writeAttribute(attribute);
        }
        out_.writeAttribute(u"modified"_s, time_);
        out_.writeAttribute(u"visited"_s, time_);
    }

    // A new bookmark before the end of the list, laid out as GTK lays it out.
    void writeBookmark()
    {
        recorded_ = true;
        out_.writeCharacters(u"  "_s);
        out_.writeStartElement(u"bookmark"_s);
        out_.writeAttribute(u"href"_s, QString::fromLatin1(uri_));
        for (const QString &attribute : {u"added"_s, u"modified"_s, u"visited"_s})
            out_.writeAttribute(attribute, time_);
        out_.writeCharacters(u"\n    "_s);
        writeInfo();
        out_.writeCharacters(u"\n  "_s);
        out_.writeEndElement();
        out_.writeCharacters(u"\n"_s);
    }

    void writeInfo()
    {
        out_.writeStartElement(u"info"_s);
        out_.writeCharacters(u"\n      "_s);
        out_.writeStartElement(u"metadata"_s);
        out_.writeAttribute(u"owner"_s, u"http://freedesktop.org"_s);
        out_.writeCharacters(u"\n        "_s);
        out_.writeEmptyElement(u"mime:mime-type"_s);
        out_.writeAttribute(u"type"_s, use_.mimeType);
        out_.writeCharacters(u"\n        "_s);
        out_.writeStartElement(u"bookmark:applications"_s);
        out_.writeCharacters(u"\n          "_s);
        writeApplication(1);
        out_.writeCharacters(u"\n        "_s);
        out_.writeEndElement();
        out_.writeCharacters(u"\n      "_s);
        out_.writeEndElement();
        out_.writeCharacters(u"\n    "_s);
        out_.writeEndElement();
    }

    void writeApplication(int count)
    {
        applicationWritten_ = true;
        out_.writeEmptyElement(u"bookmark:application"_s);
        out_.writeAttribute(u"name"_s, applicationName);
        out_.writeAttribute(u"exec"_s, applicationExec);
        out_.writeAttribute(u"modified"_s, time_);
        out_.writeAttribute(u"count"_s, QString::number(count));
    }

    QXmlStreamReader in_;
    QByteArray bytes_;
    QXmlStreamWriter out_ {&bytes_};
    const RecentUse &use_;
    const QByteArray uri_;
    const QString time_;
    int depth_ = 0;
    bool inBookmark_ = false; // within the file's own bookmark
    bool applicationWritten_ = false;
    bool recorded_ = false;
    bool refused_ = false;
};

} // namespace

QByteArray fileUri(const QString &file)
{
    return "file://" + fileNameBytes(file).toPercentEncoding("/!$&'()*+,;=:@");
}

std::optional<QByteArray> recordedUse(QByteArrayView stored, const RecentUse &use)
{
    return UseRecorder(stored.isEmpty() ? QByteArrayView(emptyDocument) : stored, use).run();
}

} // namespace twinscan
