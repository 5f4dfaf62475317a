#!/bin/sh
# The layers depend one way: the engine (platform, render, sprites, particles) knows no game; the
# renderer plugins see the engine through the plugin contract header alone; the game's rules know
# neither the front end nor the application; the front end does not know the application. Lists
# every include that points the wrong way and fails if there is one.
# Usage: LayerIncludesTest.sh <source folder>
cd "$1" || exit 2
status=0
# folder, then the include prefixes its files must not use
wrong() {
    folder=$1
    shift
    for prefix in "$@"; do
        found=$(grep -rn --include='*.cpp' --include='*.hpp' "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"$prefix/" "$folder")
        if [ -n "$found" ]; then
            echo "$found"
            status=1
        fi
    done
}
wrong engine game frontend app plugins tools
wrong plugins game frontend app tools
wrong game frontend app
wrong frontend app
# Plugins include from the engine only its contract with them.
found=$(grep -rn --include='*.cpp' --include='*.hpp' '#[[:space:]]*include[[:space:]]*"engine/' plugins |
    grep -v '"engine/render/AdPluginApi.hpp"')
if [ -n "$found" ]; then
    echo "$found"
    status=1
fi
[ "$status" = 0 ] && echo "every include points down the layers"
exit "$status"
