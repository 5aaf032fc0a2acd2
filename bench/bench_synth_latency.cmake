# The latency benchmark drives the built-in synthesizer service of the platform library.
target_link_libraries(bench_synth_latency PRIVATE tonalvane_platform_midi)
