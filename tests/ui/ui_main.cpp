#include <gtest/gtest.h>

#include <QApplication>

#include "app/ui/NumericLocale.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    KeepNumericLocaleC();  // as the program does
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
