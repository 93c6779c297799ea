#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when an #include crosses the project's dependency rules:
#   link/   uses neither app/ nor tools/, nor the generated forms;
#   config/ uses neither app/ nor tools/, nor the generated forms;
#   app/    uses no tools/;
#   cli/    uses neither app/ nor tools/, nor the generated forms.
set -eu
cd "$(dirname "$0")/../.."

violations=$(
    grep -HnE '#include[[:space:]]*"(app/|tools/|ui_)' link/* || true
    grep -HnE '#include[[:space:]]*"(app/|tools/|ui_)' config/* || true
    grep -HnE '#include[[:space:]]*"tools/' app/* || true
    grep -HnE '#include[[:space:]]*"(app/|tools/|ui_)' cli/* || true
)
if [ -n "$violations" ]; then
    echo "Includes against the dependency rules:" >&2
    echo "$violations" >&2
    exit 1
fi
echo "Dependency rules kept."
