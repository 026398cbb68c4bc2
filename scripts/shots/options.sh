# The Options dialog and the About box, opened from the bar's right-click
# commands. The bar shows the date too, so the dialog has more than the
# defaults to show.
start_bar "" +d
bar_command 40001
shoot "Zentor Options" options.png
press "Zentor Options" Escape
bar_command 40005
shoot "About Zentor" about.png
press "About Zentor" Return
stop_shots
