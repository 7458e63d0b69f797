#pragma once

#include "platform/engine/Engine.h"

// The program's engine application object: it adds the program's switches to the engine.
class SimpleApp final : public engine::App
{
public:
    void OnBeforeCommandLineProcessing(const QString& processType, engine::CommandLine& commandLine) override;
};
