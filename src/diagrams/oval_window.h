// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TOvalDia: the oval diagram window ("Draw&Graphs" / "&OvalDiagram").

#include "diagrams/diagram_window.h"

class TOvalDia : public DiagramWindow {
    Q_OBJECT
  public:
    TOvalDia(kes::Model& model, MainFormLink& link, DiagramTextState& text,
             QWidget* parent = nullptr);

  protected:
    void Draw(QPainter& painter) override;
};
