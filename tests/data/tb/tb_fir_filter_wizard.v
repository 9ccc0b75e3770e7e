// Feeds a fir_filter_wizard_core an impulse of 1, then one of -2 overlapping it, and
// checks dout against the sum of the two impulse responses, EXPECTED giving the TAPS
// coefficients one per byte, the first tap in the lowest. Prints one line starting
// with PASS or FAIL.
module tb_fir_filter_wizard;
    parameter integer TAPS = 3;
    parameter integer COEFF_WIDTH = 4;
    parameter [8*16-1:0] EXPECTED = {8'd3, 8'd7, 8'd3};

    localparam integer OUT_WIDTH = COEFF_WIDTH + $clog2(TAPS) + 16;
    // The second impulse, two clocks after the first.
    localparam integer GAP = 2;

    reg clk = 0;
    reg [15:0] din = 0;
    wire [OUT_WIDTH-1:0] dout;
    integer n, errors = 0;

    fir_filter_wizard_core #(.TAPS(TAPS), .COEFF_WIDTH(COEFF_WIDTH)) dut (
        .clk(clk), .din(din), .dout(dout));

    always #5 clk = ~clk;

    function integer tap(input integer k);
        tap = (k >= 0 && k < TAPS) ? EXPECTED[8*k+:8] : 0;
    endfunction

    initial begin
        // Flush the zeros the model starts with through one response's length.
        for (n = 0; n < TAPS + 1; n = n + 1) @(negedge clk);
        if (dout !== 0) errors = errors + 1;
        for (n = 0; n < TAPS + GAP + 2; n = n + 1) begin
            din = n == 0 ? 16'sd1 : n == GAP ? -16'sd2 : 16'sd0;
            @(negedge clk);
            if ($signed(dout) !== tap(n) - 2 * tap(n - GAP)) begin
                $display("sample %0d: %0d, expected %0d", n, $signed(dout),
                         tap(n) - 2 * tap(n - GAP));
                errors = errors + 1;
            end
        end
        if (errors == 0) $display("PASS fir %0d taps of %0d bits", TAPS, COEFF_WIDTH);
        else $display("FAIL fir %0d taps of %0d bits: %0d mismatches", TAPS, COEFF_WIDTH, errors);
        $finish;
    end
endmodule
