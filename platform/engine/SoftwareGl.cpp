#include "platform/engine/SoftwareGl.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QRegularExpression>

namespace engine {

bool IsSoftwareGl()
{
    QOpenGLContext context;
    if (QOpenGLContext* shared = QOpenGLContext::globalShareContext())
        context.setFormat(shared->format());
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface))
        return false;
    const auto* renderer = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QString name = QString::fromLatin1(renderer ? renderer : "");
    context.doneCurrent();
    static const QRegularExpression software(QStringLiteral("llvmpipe|softpipe|swrast|software rasterizer"),
                                             QRegularExpression::CaseInsensitiveOption);
    return name.contains(software);
}

} // namespace engine
