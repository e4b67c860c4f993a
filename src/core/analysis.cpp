// filled in by the analysis and settings work
