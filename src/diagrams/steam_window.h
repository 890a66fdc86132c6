// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TSteamDia: the steam diagram window ("Draw&Graphs" / "S&teamDiagram").

#include "diagrams/diagram_window.h"

class TSteamDia : public DiagramWindow {
    Q_OBJECT
  public:
    TSteamDia(kes::Model& model, MainFormLink& link, DiagramTextState& text,
              QWidget* parent = nullptr);

  protected:
    void Draw(QPainter& painter) override;
};
