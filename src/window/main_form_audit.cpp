#include "main_form.h"
