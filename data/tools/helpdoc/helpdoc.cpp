// Renders the user manual (rich text) to the PDF the main window's "Справка" opens.
// Usage: kormax-helpdoc <manual.html> <output.pdf>
// Relative image paths in the manual are resolved against the manual's folder.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <manual.html> <output.pdf>\n", argv[0]);
        return 2;
    }
    // Fonts need a GUI application, but nothing is shown: no display is required.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    // Printing works on a copy of the document that does not keep its base URL, so relative image
    // paths are made absolute in the text itself.
    QString html = QString::fromUtf8(source.readAll());
    const QDir folder = QFileInfo(source).absoluteDir();
    const QRegularExpression relativeImage("src=\"([^\"/][^\"]*)\"");
    for (QRegularExpressionMatchIterator it = relativeImage.globalMatch(html); it.hasNext();) {
        const QString path = it.next().captured(1);
        if (!QFileInfo::exists(folder.filePath(path)))
            std::fprintf(stderr, "warning: manual image %s not found\n", qPrintable(path));
    }
    html.replace(relativeImage, "src=\"" + folder.absolutePath() + "/\\1\"");

    QTextDocument document;
    document.setHtml(html);

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setTitle(QString::fromUtf8("Kormax — руководство пользователя"));
    writer.setCreator("Kormax");
    // The document adds its own 2 cm margins and page numbers when it is printed.
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    document.print(&writer);
    if (!QFileInfo::exists(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
