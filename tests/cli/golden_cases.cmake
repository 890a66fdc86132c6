# SPDX-License-Identifier: GPL-3.0-or-later
# The command-line cases whose output is kept under tests/data/golden/: each
# engine (the factory design and the two engines under tests/data/) with
# each command. A case is NAME|ARGUMENTS, the arguments separated by '@'.
set(KESTROVE_GOLDEN_ENGINES factory big-engine small-engine)
set(KESTROVE_GOLDEN_COMMANDS
    "sweep|sweep"
    "sweep-offset|sweep@--rev-arm-offset@1.2@--from@0@--to@350@--step@10"
    "midgear|midgear"
    "events-F|events@--mode@F"
    "events-R|events@--mode@R"
    "readouts|readouts"
    "cutoffs|cutoffs")
