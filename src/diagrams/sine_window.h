// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TSineDia: the sine diagram window ("Draw&Graphs" / "&SineDiagram").

#include "diagrams/diagram_window.h"

class TSineDia : public DiagramWindow {
    Q_OBJECT
  public:
    TSineDia(kes::Model& model, MainFormLink& link, DiagramTextState& text,
             QWidget* parent = nullptr);

  protected:
    void Draw(QPainter& painter) override;
};
