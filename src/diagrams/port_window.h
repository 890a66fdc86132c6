// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TPortDia: the port events window ("Draw&Graphs" / "&PortOpenClose"). It
// shows the forward graph, the reverse graph, or both over each other; the
// opener sets PortGraphMode to 'F' each time.

#include "diagrams/diagram_window.h"

class TPortDia : public DiagramWindow {
    Q_OBJECT
  public:
    TPortDia(kes::Model& model, MainFormLink& link, DiagramTextState& text,
             QWidget* parent = nullptr);

    // In mode 'B' every redraw runs the both-graphs sequence.
    void ClearAndDraw() override;
    void DrawWithoutClearing() override;

    void ForwardGraphClick(); // "ForwardGraph"
    void ReverseGraphClick(); // "ReverseGraph"
    void BothGraphsClick();   // "BothGraphs"

  protected:
    void Draw(QPainter& painter) override;

  private:
    void BothGraphs();
};
