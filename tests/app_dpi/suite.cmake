# The main window's layout once more at 144 DPI: a Wine prefix of its own
# whose LogPixels is 144 (Wine reads it when a program starts).
if(WIN32 AND TARGET morvane_win32_tests)
    add_test(NAME win32_tests_wine_144dpi
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/run_at_dpi.sh 144 $<TARGET_FILE:morvane_win32_tests>
                     --gtest_filter=MainWindowTest.ControlsAndFontsScaleWithTheDpi:MainWindowTest.NodeImagesFollowThePixelTable:MainWindowTest.DefaultSizeIsTheDesignedClientCentred:MainWindowTest.IconsFitTheDpi:MenuKeys/*:DarkMessageBox.*)
    set_tests_properties(win32_tests_wine_144dpi PROPERTIES LABELS "wine;gui" TIMEOUT 600)
endif()
