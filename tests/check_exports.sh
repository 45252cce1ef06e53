#!/usr/bin/env bash
# The module must export exactly the two entry points and nothing else of ours.
set -eu
module="$1"
symbols=$(nm -D --defined-only "$module" | awk '{print $3}' | sort)
expected=$(printf 'VSTPluginMain\nmain\n' | sort)
if [ "$symbols" != "$expected" ]; then
  echo "unexpected exports of $module:"
  echo "$symbols"
  exit 1
fi
echo "exports: VSTPluginMain main"
