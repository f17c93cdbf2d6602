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

// Acts on the modal window called `name` once it is the one on top.
inline void OnModalNamed(const char* name, std::function<void(QWidget*)> act,
                         int attemptsLeft = 500) {
    QTimer::singleShot(10, [name, act = std::move(act), attemptsLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->objectName() == QLatin1String(name)) {
            act(modal);
        } else if (attemptsLeft > 0) {
            OnModalNamed(name, std::move(act), attemptsLeft - 1);
        }
    });
}
