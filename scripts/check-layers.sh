#!/usr/bin/env bash
# Layering check: a layer includes only its own headers and those of the layers below it, and
# the model layer includes no Qt header at all.
#   model -> link -> view, forms -> sim -> app, cli
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

declare -A allowed=(
  [model]="model"
  [link]="model link"
  [view]="model link view"
  [forms]="model link forms"
  [sim]="model link sim"
  [app]="model link view forms sim app"
  [cli]="model link view forms sim cli"
)

status=0
for layer in "${!allowed[@]}"; do
  dir="$src/$layer"
  [ -d "$dir" ] || continue
  while IFS= read -r -d '' file; do
    while IFS= read -r line; do
      included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"/]+)\/.*/\1/' <<<"$line")
      if [ "$included" != "$line" ] && [ -d "$src/$included" ]; then
        if ! grep -qw -- "$included" <<<"${allowed[$layer]}"; then
          echo "$file: layer '$layer' must not include '$included': $line"
          status=1
        fi
      fi
      # The form logic (src/forms/*, not its widgets/) is plain C++ as well.
      if { [ "$layer" = model ] || [ "$(dirname "$file")" = "$src/forms" ]; } && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' <<<"$line"; then
        echo "$file: this layer must not include Qt: $line"
        status=1
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file" || true)
  done < <(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done

if [ $status -eq 0 ]; then
  echo "layering: ok"
fi
exit $status
