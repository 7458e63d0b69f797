#include "platform/skin/SkinLoader.h"

#include <QFile>
#include <QUiLoader>
#include <QWidget>

namespace {

class SkinUiLoader final : public QUiLoader
{
public:
    explicit SkinUiLoader(const CreateControlFn& createControl) : m_createControl(createControl)
    {
        // Skins use Qt's own classes; loading Designer plug-ins would also start the web engine.
        clearPluginPaths();
    }

    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        QWidget* control = m_createControl ? m_createControl(className, parent) : nullptr;
        if (!control)
            control = QUiLoader::createWidget(className, parent, name);
        else
            control->setObjectName(name);
        return control;
    }

private:
    const CreateControlFn& m_createControl;
};

} // namespace

SkinLoadResult LoadSkin(const QString& filePath, QWidget* parent, const CreateControlFn& createControl)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {nullptr, QStringLiteral("skin file %1: %2").arg(filePath, file.errorString())};
    SkinUiLoader loader(createControl);
    QWidget* root = loader.load(&file, parent);
    if (!root) {
        QString why = loader.errorString();
        if (why.isEmpty())
            why = QStringLiteral("not a skin (no top-level widget)");
        return {nullptr, QStringLiteral("skin file %1: %2").arg(filePath, why)};
    }
    return {root, {}};
}
