# What a caller may have exported that changes how a Qt program of this
# project looks or behaves, besides the platform plugin and the locale that
# each test names itself. A test that starts such a program fixes every one
# of these (clears it, or sets it on purpose); tests/CMakeLists.txt applies
# them and check_properties.cmake holds every such test to them.
set(KOREN_CLEARED_ENVIRONMENT
    # scale and resolution: the window's size and the colours' positions
    QT_SCALE_FACTOR
    QT_SCREEN_SCALE_FACTORS
    QT_AUTO_SCREEN_SCALE_FACTOR
    QT_ENABLE_HIGHDPI_SCALING
    QT_SCALE_FACTOR_ROUNDING_POLICY
    QT_USE_PHYSICAL_DPI
    QT_FONT_DPI
    # theme, style and the desktop that would choose a theme
    QT_QPA_PLATFORMTHEME
    QT_STYLE_OVERRIDE
    GTK_THEME
    XDG_CURRENT_DESKTOP
    XDG_SESSION_DESKTOP
    DESKTOP_SESSION
    KDE_FULL_SESSION
    # the fonts the window may find
    FONTCONFIG_FILE
    FONTCONFIG_PATH
    # plugins and input methods loaded from elsewhere
    QT_PLUGIN_PATH
    QT_QPA_PLATFORM_PLUGIN_PATH
    QT_QPA_GENERIC_PLUGINS
    QT_IM_MODULE
    XMODIFIERS
    # accessibility: the caller's bridge settings and bus
    QT_ACCESSIBILITY
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON
    AT_SPI_BUS_ADDRESS
    # the caller's session: buses, displays, runtime folder
    DBUS_SESSION_BUS_ADDRESS
    DBUS_SYSTEM_BUS_ADDRESS
    DISPLAY
    XAUTHORITY
    WAYLAND_DISPLAY
    XDG_RUNTIME_DIR
    # locale categories and message languages under LC_ALL
    LANGUAGE
    LC_CTYPE
    LC_NUMERIC
    LC_TIME
    LC_COLLATE
    LC_MONETARY
    LC_MESSAGES
    LC_PAPER
    LC_NAME
    LC_ADDRESS
    LC_TELEPHONE
    LC_MEASUREMENT
    LC_IDENTIFICATION
)
