// Runs a counter_binary_core of version 1.0 (no up input) as an up_down counter of
// WIDTH bits for two laps and checks that it turns at all ones and at zero instead of
// wrapping. Prints one line starting with PASS or FAIL.
module tb_counter_binary_v1_0;
    parameter integer WIDTH = 3;

    localparam integer TOP = (1 << WIDTH) - 1;

    reg clk = 0, sclr = 1;
    wire [WIDTH-1:0] q;
    integer n, errors = 0;

    counter_binary_core #(.WIDTH(WIDTH), .DIRECTION("up_down")) dut (
        .clk(clk), .ce(1'b1), .sclr(sclr), .load(1'b0), .l({WIDTH{1'b0}}), .q(q));

    always #5 clk = ~clk;

    initial begin
        @(negedge clk) sclr = 0;
        for (n = 0; n <= 4 * TOP; n = n + 1) begin
            if (q !== (n % (2 * TOP) <= TOP ? n % (2 * TOP) : 2 * TOP - n % (2 * TOP)))
                errors = errors + 1;
            @(negedge clk);
        end
        if (errors == 0) $display("PASS counter 1.0 WIDTH=%0d turns at %0d and 0", WIDTH, TOP);
        else $display("FAIL counter 1.0 WIDTH=%0d: %0d mismatches", WIDTH, errors);
        $finish;
    end
endmodule
