# Paints real lattice windows offscreen: needs the user-interface libraries.
target_link_libraries(bench_lattice_paint PRIVATE tonalvane_ui)
