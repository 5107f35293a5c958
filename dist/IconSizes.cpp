// Writes the program icon in the sizes of the icon theme, so that the one
// image in the resources stays the only source:
//   vorlix-icon-sizes SOURCE.png OUTDIR NAME SIZE...
// gives OUTDIR/<SIZE>x<SIZE>/apps/NAME.png for every SIZE.
#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fputs("usage: vorlix-icon-sizes SOURCE OUTDIR NAME SIZE...\n", stderr);
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "vorlix-icon-sizes: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) {
            std::fprintf(stderr, "vorlix-icon-sizes: bad size %s\n", argv[i]);
            return 2;
        }
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        // Square whatever the source: the theme requires it.
        const QImage scaled =
            source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!QDir().mkpath(folder) || !scaled.save(folder + '/' + name + ".png", "PNG")) {
            std::fprintf(stderr, "vorlix-icon-sizes: cannot write size %d\n", size);
            return 1;
        }
    }
    return 0;
}
