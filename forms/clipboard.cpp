#include "forms/clipboard.h"

#include "forms/error.h"
#include "forms/qt/convert.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace forms {

namespace {

QClipboard* clipboard() {
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb)
        throw RuntimeError(u"Can't open Clipboard: no clipboard is available");
    return cb;
}

} // namespace

// QClipboard reports nothing on failure, so both calls read the clipboard back.
void ClipboardClear() {
    QClipboard* cb = clipboard();
    cb->clear(QClipboard::Clipboard);
    const QMimeData* data = cb->mimeData(QClipboard::Clipboard);
    if (data && !data->formats().isEmpty())
        throw RuntimeError(u"Can't open Clipboard: it could not be cleared");
}

void ClipboardSetText(const QString& text) {
    QClipboard* cb = clipboard();
    cb->setText(text, QClipboard::Clipboard);
    const QMimeData* data = cb->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText() || data->text() != text)
        throw qt::runtimeError(
            QStringLiteral("Can't open Clipboard: the text could not be placed on it"));
}

} // namespace forms
