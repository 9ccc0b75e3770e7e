// Behavioural simulation model of the clock_synth IP. Parameters and ports follow the
// component file; the generated wrapper instantiates this module. The device's PLL is
// not modelled: the model times clk_in and, once it knows its period, runs clk_out[0]
// at that input frequency times CLKOUT0_FREQ_MHZ / CLKIN_FREQ_MHZ, so a testbench whose
// clock differs from CLKIN_FREQ_MHZ sees the output follow it as the hardware's would.
// clk_out[n] divides clk_out[0] by 2^n. Not for synthesis.
`timescale 1ns / 1ps
module clock_synth_core #(
    parameter real CLKIN_FREQ_MHZ = 100.0,
    parameter real CLKOUT0_FREQ_MHZ = 200.0,
    // 1 to 4
    parameter integer NUM_OUTPUTS = 1,
    // "internal" or "external"; the model's outputs are the same for both
    parameter FEEDBACK = "internal",
    // 1: locked rises when the outputs run; 0: locked stays low
    parameter integer LOCKED_OUTPUT = 1
) (
    input  wire                   clk_in,
    // asynchronous, active high: stops the outputs low until clk_in is timed again
    input  wire                   reset,
    output wire [NUM_OUTPUTS-1:0] clk_out,
    output wire                   locked
);
    // Input edges before lock: two to time the period, the rest stands for the loop
    // settling.
    localparam integer LOCK_EDGES = 8;

    integer edges = 0;
    real last_edge = 0.0;
    real period = 0.0;
    reg clk0 = 1'b0;
    reg [2:0] divider = 3'd0;

    always @(posedge clk_in or posedge reset) begin
        if (reset)
            edges <= 0;
        else begin
            if (edges > 0)
                period = $realtime - last_edge;
            last_edge = $realtime;
            if (edges < LOCK_EDGES)
                edges <= edges + 1;
        end
    end

    wire running = edges >= LOCK_EDGES;

    // The first rising edge of clk_out[0] coincides with an edge of clk_in; the output
    // then runs free, a cycle at a time so that reset stops it within one cycle.
    always begin
        wait (running);
        clk0 = 1'b1;
        #(period * CLKIN_FREQ_MHZ / CLKOUT0_FREQ_MHZ / 2.0);
        clk0 = 1'b0;
        #(period * CLKIN_FREQ_MHZ / CLKOUT0_FREQ_MHZ / 2.0);
    end

    always @(posedge clk0 or posedge reset) begin
        if (reset)
            divider <= 3'd0;
        else
            divider <= divider + 1'b1;
    end

    wire [3:0] clocks = {divider, clk0};
    assign clk_out = clocks[NUM_OUTPUTS-1:0];
    assign locked  = LOCKED_OUTPUT != 0 && running;
endmodule
