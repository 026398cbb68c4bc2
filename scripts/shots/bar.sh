# The bar with the default menus and its first menu open: docs/bar.png.
# Sourced by scripts/screenshots.sh.

start_bar "" -a # no data file: the default menus; -a: the bar stays in view
# Alt+A, as the user opens the "&Apps" menu (WM_SYSCOMMAND, SC_KEYMENU). Its
# items' icons are looked up as it first opens, and show at the next opening.
"$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x112 0xF100 0x61
shoot Zentor bar.png 1024x64+0+0
"$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x1F
"$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x112 0xF100 0x61
shoot Zentor bar.png 1024x64+0+0
"$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x1F # WM_CANCELMODE closes the menu
stop_shots
