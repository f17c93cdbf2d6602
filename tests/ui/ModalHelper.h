#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Acts on the next modal window once it is shown: exec() paths are driven by
// finding the active modal window and answering it.
inline void OnNextModal(std::function<void(QWidget*)> act, int attemptsLeft = 200) {
    QTimer::singleShot(10, [act = std::move(act), attemptsLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
        } else if (attemptsLeft > 0) {
            OnNextModal(std::move(act), attemptsLeft - 1);
        }
    });
}
