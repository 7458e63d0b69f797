#pragma once

#include <QString>

#include <functional>

class QWidget;

// Builds a control tree from a skin file (Qt Designer .ui XML). Only Qt's own widget classes are
// known; no Designer plug-in is loaded. createControl is asked first for every class name and may
// supply a control of its own.
struct SkinLoadResult
{
    QWidget* root = nullptr;
    QString error; // names the file and what is wrong with it when root is null
};

using CreateControlFn = std::function<QWidget*(const QString& className, QWidget* parent)>;

SkinLoadResult LoadSkin(const QString& filePath, QWidget* parent, const CreateControlFn& createControl);
